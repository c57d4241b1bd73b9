#include "ScriptFile.h"

#include <cerrno>
#include <filesystem>
#include <string_view>

#include "FileErrorText.h"
#include "ScriptText.h"
#include "ToneError.h"
#include "Windows1252.h"

namespace quor {

ScriptFile::ScriptFile(const std::string& fileName)
    : fileName_(fileName), file_(openTextFileForReading(fileName)) {
  if (!file_) fail(errno);
}

void ScriptFile::fail(int error) const {
  throw ToneError(fileErrorText(error, fileName_));
}

std::string ScriptFile::readLine() {
  std::string bytes;
  int c;
  while ((c = std::getc(file_.get())) != EOF && c != '\n') {
    if (c != '\r') bytes += static_cast<char>(c);
  }
  if (c == EOF && std::ferror(file_.get())) fail(errno);
  return decodeWindows1252(bytes);
}

void ScriptFile::rewind() {
  errno = 0;
  if (std::fseek(file_.get(), 0, SEEK_SET) != 0) fail(errno);
  std::clearerr(file_.get());
}

std::vector<std::string> readScriptLines(const std::string& fileName) {
  ScriptFile file(fileName);
  return file.lines();
}

std::vector<std::string> ScriptFile::lines() {
  std::string bytes;
  char chunk[65536];
  size_t read;
  while ((read = std::fread(chunk, 1, sizeof chunk, file_.get())) > 0) bytes.append(chunk, read);
  if (std::ferror(file_.get())) fail(errno);
  return scriptLinesOf(bytes);
}

bool isToneScriptArgument(const std::string& argument) {
  constexpr std::string_view kEnding = "qvs";
  std::error_code ignored;
  return argument.ends_with(kEnding) && std::filesystem::is_regular_file(argument, ignored);
}

}  // namespace quor
