#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quor {

// A tone script opened for reading, line by line. Scripts are Windows-1252 text; lines end at
// LF or CR LF and a CR anywhere else is dropped. The language has no end-of-file mark: reading
// on past the last line gives empty lines. Devices and pipes, which may never end, are refused
// as files without access. Errors are thrown as ToneError with the message a user sees for a
// file that cannot be opened or read.
class ScriptFile {
 public:
  explicit ScriptFile(const std::string& fileName);

  // The next line as UTF-8, without its line end.
  std::string readLine();
  // Back to the first line.
  void rewind();
  // Every line from here to the end of the file.
  std::vector<std::string> lines();

 private:
  [[noreturn]] void fail(int error) const;

  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::string fileName_;
  std::unique_ptr<std::FILE, Closer> file_;
};

// The whole script file `fileName` as lines (see scriptLinesOf), for a check or an editor that
// takes it at once. Refuses what ScriptFile refuses, with the same messages; throws them as
// ToneError.
std::vector<std::string> readScriptLines(const std::string& fileName);

// Whether a command-line argument names a tone script to run: an existing file whose name ends
// in "qvs", in lower case, with or without a dot before it. Devices and pipes are no scripts:
// reading one could keep the start waiting for ever.
bool isToneScriptArgument(const std::string& argument);

}  // namespace quor
