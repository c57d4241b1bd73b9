#pragma once
#include <cstdio>
#include <string>

namespace quor {

// The message a user sees when a settings file or a script cannot be opened, read or written,
// from the C library's error number of the failing call:
//   the file does not exist                     "The specified file was not found"
//   its folder does not exist, or the name is
//   too long (over 259 characters)              "Invalid file name - <name>"
//   too many open files                         "Too many open files"
//   no access                                   "File access denied"
//   anything else, a full disk included         "I/O error <number>"
std::string fileErrorText(int error, const std::string& fileName);

// Whether a name is a device, a pipe or a socket: such a file may never end or may block
// whoever opens it, so the program's text files refuse it as "File access denied".
bool isDeviceOrPipe(const std::string& fileName);

// Names longer than this, in characters, are refused before the file system is asked, on every
// platform.
inline constexpr size_t kLongestFileName = 259;
bool fileNameTooLong(const std::string& fileName);

// Opens one of the program's text files for reading, binary, refusing too long a name and
// devices and pipes as above. Null when it cannot, with errno set for fileErrorText.
std::FILE* openTextFileForReading(const std::string& fileName);

}  // namespace quor
