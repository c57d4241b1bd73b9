#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "EngineFixture.h"
#include "PrivateTmpfs.h"
#include "ScratchFolder.h"
#include "ToneError.h"
#include "ToneSettingsFile.h"
#include "ToneSettingsFormat.h"

namespace quor::testing {
namespace {

// The block of a preset as the program starts, under the slot's name.
std::string startBlock(int slot) {
  return "Memory " + std::to_string(slot) +
         "\r\n1000\r\n100\r\n10000\r\nconstant\r\n3\r\n100\r\n0\r\nTrue\r\nTrue\r\n0\r\n50\r\n";
}

std::string startFile() {
  return startBlock(1) + startBlock(2) + startBlock(3) + startBlock(4);
}

std::string withLfLineEnds(std::string bytes) {
  for (size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.erase(at, 1);
  return bytes;
}

// Every field of every slot different from the start and from the other slots.
Memories distinctMemories() {
  Memories memories;
  for (int slot = 1; slot <= 4; ++slot) {
    const std::string n = std::to_string(slot);
    MemoryRecord& r = memorySlot(memories, slot);
    r = {"Bass \u00E9t\u00E9 " + n,
         "44" + n,
         "2" + n,
         "1,5e3" + n,
         "sweep",
         "1" + n,
         "7" + n,
         slot - 2,
         slot % 2 == 0,
         "1" + n + "0",
         "3" + n,
         slot % 2 == 1,
         true};
  }
  memorySlot(memories, 3).Name = "";
  memorySlot(memories, 4).ActivePage = "Constant";
  return memories;
}

// Reads a file's bytes into the slots; answers the error's message, empty when none.
std::string readInto(Memories& memories, const std::string& bytes) {
  MemoryBytes source(bytes);
  try {
    readToneSettings(source, memories);
  } catch (const ToneError& error) {
    return error.what();
  }
  return {};
}

class ToneSettingsFileTest : public EngineTest {
 protected:
  ToneSettingsFileTest() { initialiseMemories(start, controls); }

  // A 48-line file of the start content whose line `line` (1 to 48) is replaced.
  static std::string startFileWithLine(int line, const std::string& text) {
    std::string bytes = startFile();
    size_t from = 0;
    for (int i = 1; i < line; ++i) from = bytes.find("\r\n", from) + 2;
    return bytes.replace(from, bytes.find("\r\n", from) - from, text);
  }

  Memories start;
  ScratchFolder folder;
};

constexpr const char* kNotABoolean =
    "Could not convert variant of type (UnicodeString) into type (Boolean)";

TEST_F(ToneSettingsFileTest, SavingRightAfterStartWritesFourBlocksDifferingOnlyInTheName) {
  const std::string file = folder.file("start.qvp");
  SaveToneSettings(file, start);
  EXPECT_EQ(readBytes(file), startFile());
}

TEST_F(ToneSettingsFileTest, SaveAndLoadGiveBackEveryFieldButPositiveOffset) {
  const Memories saved = distinctMemories();
  const std::string file = folder.file("all.qvp");
  SaveToneSettings(file, saved);
  Memories loaded = start;
  memorySlot(loaded, 2).PositiveOffset = true;
  LoadToneSettings(file, loaded);
  for (int slot = 1; slot <= 4; ++slot) {
    MemoryRecord expected = memorySlot(saved, slot);
    expected.PositiveOffset = slot == 2;
    EXPECT_EQ(memorySlot(loaded, slot), expected) << "slot " << slot;
  }
}

TEST_F(ToneSettingsFileTest, TextsAreWindows1252WithAQuestionMarkForWhatItCannotHold) {
  Memories memories = start;
  memorySlot(memories, 1).Name = "Caf\u00E9 \u20AC \u0101 \u4E2D";
  memorySlot(memories, 2).Name = "pasted\nover\r\ntwo lines";
  const std::string file = folder.file("names.qvp");
  SaveToneSettings(file, memories);
  const std::string bytes = readBytes(file);
  EXPECT_EQ(bytes.substr(0, bytes.find('\n') + 1), "Caf\xE9 \x80 ? ?\r\n");
  LoadToneSettings(file, memories);
  EXPECT_EQ(memorySlot(memories, 1).Name, "Caf\u00E9 \u20AC ? ?");
  // A line break in a field must not shift the lines after it.
  EXPECT_EQ(memorySlot(memories, 2).Name, "pasted over  two lines");
  EXPECT_EQ(memorySlot(memories, 2).fEdit, "1000");
}

TEST_F(ToneSettingsFileTest, ShortLongAndHandEditedFiles) {
  std::string lines45;  // ends right before slot 4's Logarithmic line
  for (size_t from = 0, i = 0; i < 45; ++i) {
    const size_t end = startFile().find("\r\n", from) + 2;
    lines45 += startFile().substr(from, end - from);
    from = end;
  }
  const struct {
    const char* what;
    std::string bytes;
    std::string error;
    int slot;                // a slot to look at
    MemoryRecord slotAfter;  // what it holds after the read
  } cases[] = {
      {"ends after slot 4's Logarithmic line",
       lines45 + "False\r\n",
       "",
       4,
       {"Memory 4", "1000", "100", "10000", "constant", "3", "100", 0, true, "", "", false, false}},
      {"ends before slot 4's Logarithmic line",
       lines45,
       kNotABoolean,
       4,
       {"Memory 4", "1000", "100", "10000", "constant", "3", "100", 0, true, "0", "50", true,
        false}},
      {"ends inside slot 2: texts empty, waveform 0, then the empty Loop line fails",
       startBlock(1) + "Two\r\n500\r\n",
       kNotABoolean,
       2,
       {"Two", "500", "", "", "", "", "", 0, true, "0", "50", true, false}},
      {"lines after the 48th are ignored", startFile() + "more\r\nTrue\r\n", "", 4,
       memorySlot(start, 4)},
      {"LF line ends, Booleans in any case or as numbers, an empty name",
       withLfLineEnds("\r\nfEd\r\nini\r\nfin\r\nsweep\r\n9\r\n80\r\n2\r\ntrue\r\n0\r\n5\r\n25\r\n" +
                      startBlock(2) + startBlock(3) + startBlock(4)),
       "",
       1,
       {"", "fEd", "ini", "fin", "sweep", "9", "80", 2, true, "5", "25", false, false}},
      {"a lone CR stays in the line",
       "a\rb\r\n",
       kNotABoolean,
       1,
       {"a\rb", "", "", "", "", "", "", 0, true, "0", "50", true, false}},
  };
  for (const auto& c : cases) {
    Memories memories = start;
    EXPECT_EQ(readInto(memories, c.bytes), c.error) << c.what;
    EXPECT_EQ(memorySlot(memories, c.slot), c.slotAfter) << c.what;
    // Slots the read never reached are as they were.
    for (int later = c.slot + 1; later <= 4 && !c.error.empty(); ++later) {
      EXPECT_EQ(memorySlot(memories, later), memorySlot(start, later)) << c.what;
    }
  }
}

TEST_F(ToneSettingsFileTest, TheWaveformIsTheFirstWordAfterBlanksAndLineBreaks) {
  const struct {
    std::string line;  // slot 1's WaveForm line
    std::string error;
    int32_t waveForm;
  } cases[] = {
      {"2 and text", "", 2},
      {"  \t-1", "", -1},
      {"+2", "", 2},
      {std::string(32, '0') + "17", "", 0},  // only 32 characters make the word
      {"", "Invalid numeric input", 0},      // the next line, "True", is the word
      {"x2", "Invalid numeric input", 0},
      {"2.0", "Invalid numeric input", 0},
      {"4294967296", "Invalid numeric input", 0},
  };
  for (const auto& c : cases) {
    Memories memories = start;
    memorySlot(memories, 1).WaveForm = 5;
    memorySlot(memories, 1).Loop = false;
    EXPECT_EQ(readInto(memories, startFileWithLine(8, c.line)), c.error) << c.line;
    EXPECT_EQ(memorySlot(memories, 1).WaveForm, c.error.empty() ? c.waveForm : 5) << c.line;
    // The rest of the waveform's line is passed over: the Loop line is the next one.
    EXPECT_EQ(memorySlot(memories, 1).Loop, c.error.empty()) << c.line;
  }
  Memories memories = start;
  memorySlot(memories, 1).WaveForm = 5;
  const std::string sevenLines = "One\r\n1\r\n2\r\n3\r\nsweep\r\n4\r\n5\r\n";
  // Blanks and line breaks up to the end: the waveform is 0, the Loop line beyond is empty.
  EXPECT_EQ(readInto(memories, sevenLines + "\r\n\r\n  "), kNotABoolean);
  EXPECT_EQ(memorySlot(memories, 1).WaveForm, 0);
}

TEST_F(ToneSettingsFileTest, BooleanLines) {
  const struct {
    const char* line;
    bool accepted;
    bool value;
  } cases[] = {
      {"True", true, true},   {"FALSE", true, false},  {"tRUE", true, true},
      {"false", true, false}, {"1", true, true},       {"0", true, false},
      {"-2,5", true, true},   {"0.0", true, false},    {"yes", false, false},
      {"", false, false},     {"True ", false, false}, {"T", false, false},
  };
  for (const auto& c : cases) {
    Memories memories = start;
    memorySlot(memories, 1).Logarithmic = !c.value;
    EXPECT_EQ(readInto(memories, startFileWithLine(10, c.line)), c.accepted ? "" : kNotABoolean)
        << c.line;
    // A failing line leaves its own field as it was.
    EXPECT_EQ(memorySlot(memories, 1).Logarithmic, c.accepted ? c.value : !c.value) << c.line;
  }
}

TEST_F(ToneSettingsFileTest, FilesThatCannotBeOpenedSayWhy) {
  const std::string missingFolder = folder.file("gone") + "/x.qvp";
  const std::string tooLong = folder.file(std::string(260, 'n'));
  const ScratchFolder pipes;
  const std::string pipe = pipes.file("pipe.qvp");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const struct {
    const char* what;
    std::string file;
    bool load;
    std::string message;
  } cases[] = {
      {"missing file", folder.file("none.qvp"), true, "The specified file was not found"},
      {"missing folder", missingFolder, true, "Invalid file name - " + missingFolder},
      {"a folder", folder.path().string(), true, "File access denied"},
      {"too long a name", tooLong, true, "Invalid file name - " + tooLong},
      {"a pipe, which would never end", pipe, true, "File access denied"},
      {"save over a pipe", pipe, false, "File access denied"},
      {"save into a missing folder", missingFolder, false, "Invalid file name - " + missingFolder},
      {"save over a folder", folder.path().string(), false, "File access denied"},
      {"save under too long a name", tooLong, false, "Invalid file name - " + tooLong},
  };
  for (const auto& c : cases) {
    Memories memories = start;
    try {
      if (c.load) {
        LoadToneSettings(c.file, memories);
      } else {
        SaveToneSettings(c.file, memories);
      }
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ToneError& error) {
      EXPECT_EQ(error.what(), c.message) << c.what;
    }
    EXPECT_EQ(memories, start) << c.what;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(ToneSettingsFileTest, SavingOverAFileKeepsItsPermissionsAndWritesThroughALink) {
  const std::string file = folder.file("kept.qvp");
  writeBytes(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const std::string link = folder.file("link.qvp");
  std::filesystem::create_symlink(file, link);
  SaveToneSettings(link, start);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(readBytes(file), startFile());
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A save that fails keeps the previous file byte for byte and leaves nothing else behind.
// Each case runs on a small tmpfs of its own, so that "full" and "read-only" are real.
TEST_F(ToneSettingsFileTest, AFailedSaveKeepsThePreviousFile) {
  const std::string oldBytes = startBlock(1) + "an older file\r\n";
  const struct {
    const char* what;
    bool fillTheDisk;
    std::string message;
    std::string entries;  // what the folder holds afterwards
  } cases[] = {
      {"full disk", true, "I/O error 28", "|filler|presets.qvp"},
      {"read-only folder", false, "File access denied", "|presets.qvp"},
  };
  const std::string options = "size=16k";
  for (const auto& c : cases) {
    std::string whyNot;
    const auto report = onPrivateTmpfs(
        options,
        [&](const std::string& disk) {
          const std::string target = disk + "/presets.qvp";
          writeBytes(target, oldBytes);
          if (c.fillTheDisk) {
            writeBytes(disk + "/filler", std::string(64 * 1024, 'f'));
          } else if (!remountReadOnly(disk, options)) {
            return std::string("cannot remount read-only");
          }
          std::string message = "saved";
          try {
            SaveToneSettings(target, distinctMemories());
          } catch (const ToneError& error) {
            message = error.what();
          }
          std::set<std::string> entries;
          for (const auto& entry : std::filesystem::directory_iterator(disk)) {
            entries.insert(entry.path().filename().string());
          }
          std::string report =
              message + "|" + (readBytes(target) == oldBytes ? "unchanged" : "changed");
          for (const std::string& entry : entries) report += "|" + entry;
          return report;
        },
        whyNot);
    if (!report) GTEST_SKIP() << "no private tmpfs here: " << whyNot;
    EXPECT_EQ(*report, c.message + "|unchanged" + c.entries) << c.what;
  }
}

}  // namespace
}  // namespace quor::testing
