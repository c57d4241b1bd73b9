#include "FileErrorText.h"

#include <cerrno>
#include <filesystem>

namespace quor {

namespace {

bool folderMissing(const std::string& fileName) {
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
  return !folder.empty() && !std::filesystem::is_directory(folder, ignored);
}

// Characters, not bytes: a name in another script than Latin is as long as it looks.
size_t characters(const std::string& utf8) {
  size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

bool isDeviceOrPipe(const std::string& fileName) {
  std::error_code unknown;
  const std::filesystem::file_status status = std::filesystem::status(fileName, unknown);
  return !unknown && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

bool fileNameTooLong(const std::string& fileName) {
  return characters(fileName) > kLongestFileName;
}

std::FILE* openTextFileForReading(const std::string& fileName) {
  // Too long a name is refused before the file system is asked, as on every platform.
  if (fileNameTooLong(fileName)) {
    errno = ENAMETOOLONG;
    return nullptr;
  }
  // A pipe would hold the reader at its open until someone writes into it, and a device may
  // never end a line: the user-interface thread would hang.
  if (isDeviceOrPipe(fileName)) {
    errno = EACCES;
    return nullptr;
  }
  errno = 0;
  return std::fopen(fileName.c_str(), "rb");
}

std::string fileErrorText(int error, const std::string& fileName) {
  const std::string invalidName = "Invalid file name - " + fileName;
  if (fileNameTooLong(fileName)) return invalidName;
  switch (error) {
    case ENOENT:
      return folderMissing(fileName) ? invalidName : "The specified file was not found";
    case ENOTDIR:
    case ENAMETOOLONG:
      return invalidName;
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EISDIR:  // a folder where a file was expected: Windows refuses it the same way
    case EROFS:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(error);
  }
}

}  // namespace quor
