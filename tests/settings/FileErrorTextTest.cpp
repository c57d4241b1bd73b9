#include "FileErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace quor {
namespace {

TEST(FileErrorText, EachFailureReadsAsTheUserIsToldIt) {
  const std::string tmp = std::filesystem::temp_directory_path().string();
  const std::string missingFile = tmp + "/no-such-file.qvp";
  const std::string inMissingFolder = tmp + "/no-such-folder-7f3/presets.qvp";
  EXPECT_EQ(fileErrorText(ENOENT, missingFile), "The specified file was not found");
  EXPECT_EQ(fileErrorText(ENOENT, inMissingFolder), "Invalid file name - " + inMissingFolder);
  EXPECT_EQ(fileErrorText(ENOTDIR, "/etc/passwd/x.qvs"), "Invalid file name - /etc/passwd/x.qvs");
  EXPECT_EQ(fileErrorText(EMFILE, missingFile), "Too many open files");
  EXPECT_EQ(fileErrorText(EACCES, missingFile), "File access denied");
  EXPECT_EQ(fileErrorText(EISDIR, tmp), "File access denied");
  EXPECT_EQ(fileErrorText(ENOSPC, missingFile), "I/O error 28");
  EXPECT_EQ(fileErrorText(EIO, missingFile), "I/O error 5");
}

TEST(FileErrorText, ANameOver259CharactersIsInvalidWhateverTheError) {
  const std::string longest = "/" + std::string(258, 'a');
  const std::string tooLong = longest + "b";
  EXPECT_EQ(fileErrorText(ENOENT, longest), "The specified file was not found");
  EXPECT_EQ(fileErrorText(ENOENT, tooLong), "Invalid file name - " + tooLong);
  EXPECT_EQ(fileErrorText(EACCES, tooLong), "Invalid file name - " + tooLong);
  // 259 characters of two bytes each are still a name of 259 characters.
  std::string accented = "/";
  for (int i = 0; i < 258; ++i) accented += "\u00E9";
  EXPECT_EQ(fileErrorText(ENOENT, accented), "The specified file was not found");
}

}  // namespace
}  // namespace quor
