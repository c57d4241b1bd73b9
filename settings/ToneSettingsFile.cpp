#include "ToneSettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "FileErrorText.h"
#include "FileReplace.h"
#include "ToneError.h"
#include "ToneSettingsFormat.h"

namespace quor {

namespace {

// An open file's bytes; a failing read ends the load with the file system's message.
class FileBytes : public ByteSource {
 public:
  FileBytes(std::FILE* file, const std::string& fileName) : file_(file), fileName_(fileName) {}
  int next() override {
    const int c = std::getc(file_);
    if (c != EOF) return c;
    if (std::ferror(file_)) throw ToneError(fileErrorText(errno, fileName_));
    return kEnd;
  }

 private:
  std::FILE* file_;
  const std::string& fileName_;
};

}  // namespace

void SaveToneSettings(const std::string& fileName, const Memories& memories) {
  replaceFile(fileName, formatToneSettings(memories));
}

void LoadToneSettings(const std::string& fileName, Memories& memories) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openTextFileForReading(fileName),
                                                             &std::fclose);
  if (!file) throw ToneError(fileErrorText(errno, fileName));
  FileBytes source(file.get(), fileName);
  readToneSettings(source, memories);
}

bool isToneSettingsArgument(const std::string& argument) {
  constexpr std::string_view kEnding = "qvp";
  std::error_code ignored;
  return argument.ends_with(kEnding) && std::filesystem::is_regular_file(argument, ignored);
}

}  // namespace quor
