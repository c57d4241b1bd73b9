// Script files that cannot be opened or read.
#include "ScriptFile.h"
#include "ScriptFixture.h"
#include "ScriptText.h"
#include "ToneError.h"

namespace quor::testing {
namespace {

struct FileCase {
  const char* name;
  std::string (*path)(const std::string& folder);
  // The message; "%s" stands for the path.
  const char* message;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.name;
}

class FileErrors : public ScriptTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(FileErrors, AreShownAndEndTheRunWithItsEndSteps) {
  const FileCase& c = GetParam();
  const std::string path = c.path(folder.path().toStdString());
  std::string message = c.message;
  if (const size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, path);
  interpreter.Runscript(path);
  EXPECT_EQ(host.log, (std::vector<std::string>{"disable", "caption " + path, "show",
                                                "message " + message, "hide", "enable"}));
  EXPECT_TRUE(host.statuses.empty());
  EXPECT_TRUE(controls.checked(Control::chkLoop));
}

INSTANTIATE_TEST_SUITE_P(
    Script, FileErrors,
    ::testing::Values(
        FileCase{"Missing", [](const std::string& f) { return f + "/missing.qvs"; },
                 "The specified file was not found"},
        FileCase{"InAFolderThatDoesNotExist",
                 [](const std::string& f) { return f + "/nowhere/test.qvs"; },
                 "Invalid file name - %s"},
        FileCase{"AFolder", [](const std::string& f) { return f; }, "File access denied"},
        FileCase{"ANameTooLong",
                 [](const std::string& f) { return f + "/" + std::string(260, 'x') + ".qvs"; },
                 "Invalid file name - %s"},
        FileCase{"NoName", [](const std::string&) { return std::string(); },
                 "The specified file was not found"}),
    [](const auto& info) { return std::string(info.param.name); });

// The check and the editor take the whole file at once; they must see the lines a run reads.
TEST_F(ScriptTest, WholeFileLinesAreTheLinesARunReads) {
  const std::string bytes = "tone 440\r\nr\xE9m caf\xE9\rx\n\ndelay 1";
  const std::string path = scriptFile(bytes);
  const std::vector<std::string> lines = readScriptLines(path);
  ASSERT_EQ(lines.size(), 4u);
  ScriptFile file(path);
  for (const std::string& line : lines) EXPECT_EQ(line, file.readLine());
  EXPECT_EQ(lines[1], "r\xC3\xA9m caf\xC3\xA9x");
  EXPECT_EQ(scriptLinesOf("end\n"), std::vector<std::string>{"end"});
  EXPECT_EQ(scriptFileBytes(lines), "tone 440\r\nr\xE9m caf\xE9x\r\n\r\ndelay 1\r\n");
}

TEST_F(ScriptTest, WholeFileReadingRefusesDevicesThatNeverEnd) {
  try {
    readScriptLines("/dev/zero");
    ADD_FAILURE() << "a device was read";
  } catch (const ToneError& e) {
    EXPECT_STREQ(e.what(), "File access denied");
  }
}

}  // namespace
}  // namespace quor::testing
