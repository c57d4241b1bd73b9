// Script files that cannot be opened or read, and files that vanish or fail while a run reads
// them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
                 "The specified file was not found"},
        // Neither would ever end: a pipe holds the open until someone writes, a device the
        // first line.
        FileCase{"APipe",
                 [](const std::string& f) {
                   const std::string fifo = f + "/pipe.qvs";
                   EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
                   return fifo;
                 },
                 "File access denied"},
        FileCase{"ADevice", [](const std::string&) { return std::string("/dev/zero"); },
                 "File access denied"}),
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

// The descriptor through which this process reads `path`.
int descriptorReading(const std::string& path) {
  const std::filesystem::path target = std::filesystem::canonical(path);
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code closedMeanwhile;
    if (std::filesystem::read_symlink(entry.path(), closedMeanwhile) == target)
      return std::stoi(entry.path().filename().string());
  }
  return -1;
}

// From now on every read of the open script fails as on a failing disk, with EIO: its
// descriptor is replaced by one of the process's own memory at address 0, which nothing maps.
void failReadsOf(const std::string& path) {
  const int reading = descriptorReading(path);
  const int failing = open("/proc/self/mem", O_RDONLY);
  ASSERT_GE(reading, 0);
  ASSERT_GE(failing, 0);
  EXPECT_EQ(dup2(failing, reading), reading);
  close(failing);
}

void removeFile(const std::string& path) {
  EXPECT_TRUE(std::filesystem::remove(path));
}

void replaceByRename(const std::string& path) {
  std::ofstream(path + ".new") << "Tone 880 1\n";
  std::filesystem::rename(path + ".new", path);
}

void withdrawPermissions(const std::string& path) {
  std::filesystem::permissions(path, std::filesystem::perms::none);
}

void truncateToNothing(const std::string& path) {
  std::filesystem::resize_file(path, 0);
}

// What happens to the script file half a second into its first tone, and how the run ends.
struct MidRunCase {
  const char* name;
  std::string script;
  void (*meanwhile)(const std::string& path);
  std::vector<std::string> statuses;
  std::vector<std::string> messages;
};

void PrintTo(const MidRunCase& c, std::ostream* os) {
  *os << c.name;
}

class MidRun : public ScriptTest, public ::testing::WithParamInterface<MidRunCase> {};

TEST_P(MidRun, GoesOnWithTheOpenFileOrEndsWithTheFileSystemsMessage) {
  const MidRunCase& c = GetParam();
  const std::string path = scriptFile(c.script);
  host.at(500, [&] { c.meanwhile(path); });
  host.at(3000, [this] { interpreter.cancel(); });  // in the second round of a repeat
  interpreter.Runscript(path);
  EXPECT_EQ(host.statuses, c.statuses);
  EXPECT_EQ(host.messages, c.messages);
  EXPECT_TRUE(controls.messages().empty());
  ASSERT_GE(host.log.size(), 2u);
  EXPECT_EQ(host.log[host.log.size() - 2], "hide");
  EXPECT_EQ(host.log.back(), "enable");
  EXPECT_TRUE(host.mainWindowEnabled);
  EXPECT_TRUE(controls.checked(Control::chkLoop));
  output.finishPendingStop();
  EXPECT_FALSE(output.active());
  EXPECT_FALSE(engine.values.ToneBusy);
  EXPECT_EQ(controls.led(), LedColour::Red);
}

const std::string kToneThenEnd = "tone 440 2 0 50 100\nrem still read\nend\n";
const std::string kToneThenRepeat = "tone 440 2 0 50 100\nrepeat\n";
const std::vector<std::string> kToneThenEndLines{"Line 1: tone", "Line 2: rem", "Line 3: end"};

INSTANTIATE_TEST_SUITE_P(
    Script, MidRun,
    ::testing::Values(
        // The open file stays what the run reads, a repeat included.
        MidRunCase{"Deleted", kToneThenEnd, removeFile, kToneThenEndLines, {}},
        MidRunCase{"ReplacedByRename", kToneThenEnd, replaceByRename, kToneThenEndLines, {}},
        MidRunCase{
            "PermissionsWithdrawn", kToneThenEnd, withdrawPermissions, kToneThenEndLines, {}},
        MidRunCase{"DeletedThenRepeated",
                   kToneThenRepeat,
                   removeFile,
                   {"Line 1: tone", "Line 2: repeat", "Line 1: tone"},
                   {}},
        // A rewind reads the file as it is now.
        MidRunCase{"TruncatedThenRepeated",
                   kToneThenRepeat,
                   truncateToNothing,
                   {"Line 1: tone", "Line 2: repeat", "Line 1: "},
                   {std::string(ScriptInterpreter::kInvalidCommand) + "1"}},
        // More than the stream has read ahead, so that the second line needs a read.
        MidRunCase{"ReadsFail",
                   "tone 440 2 0 50 100\nrem " + std::string(1 << 20, 'x') + "\nend\n",
                   failReadsOf,
                   {"Line 1: tone"},
                   {"I/O error 5"}},
        MidRunCase{"ReadsFailAfterARepeat",
                   kToneThenRepeat,
                   failReadsOf,
                   {"Line 1: tone", "Line 2: repeat"},
                   {"I/O error 5"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quor::testing
