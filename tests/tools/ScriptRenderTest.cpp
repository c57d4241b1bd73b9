// quorgen render SCRIPT, run in this process: what a script writes, held against renders of
// its tones alone.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "EventLoop.h"
#include "QuorgenOptions.h"
#include "QuorgenRun.h"
#include "ScriptCommands.h"

namespace quor::tools {
namespace {

struct Outcome {
  int exitCode = -1;
  std::string err;
};

// A WAV file's format and its sample bytes as they lie in the file.
struct Wav {
  SF_INFO info{};
  std::string bytes;
  bool operator==(const Wav& other) const {
    return info.samplerate == other.info.samplerate && info.format == other.info.format &&
           bytes == other.bytes;
  }
};

class ScriptRender : public ::testing::Test {
 protected:
  ParsedCommandLine parsed(const QStringList& arguments) {
    std::vector<std::string> line{"quorgen"};
    for (const QString& argument : arguments) line.push_back(argument.toStdString());
    ParsedCommandLine p = parseQuorgenArguments(line);
    EXPECT_TRUE(p.ok) << p.error;
    return p;
  }

  // Renders `script` with `options` into `output`.
  Outcome render(const std::string& script, const QStringList& options = {},
                 const ScriptRunHook& ready = {}) {
    {
      QFile file(directory.filePath("script.qvs"));
      EXPECT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(script.data(), static_cast<qint64>(script.size()));
    }
    const ParsedCommandLine p =
        parsed(QStringList{"render", directory.filePath("script.qvs"), "-o", output} + options);
    std::ostringstream err;
    const int code = renderScriptCommand(p.request, err, false, ready);
    return {code, err.str()};
  }

  // The bytes of `quorgen render` for one tone.
  Wav single(const QStringList& options) {
    const QString path = directory.filePath("single.wav");
    const ParsedCommandLine p = parsed(QStringList{"render", "-o", path} + options);
    std::ostringstream out, err;
    EXPECT_EQ(renderCommand(p.request, out, err), 0) << err.str();
    return read(path);
  }

  static Wav read(const QString& path) {
    Wav wav;
    SNDFILE* file = sf_open(path.toStdString().c_str(), SFM_READ, &wav.info);
    EXPECT_NE(file, nullptr) << path.toStdString();
    if (file == nullptr) return wav;
    const int width = (wav.info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8 ? 1 : 2;
    wav.bytes.resize(static_cast<size_t>(wav.info.frames * width));
    sf_read_raw(file, wav.bytes.data(), static_cast<sf_count_t>(wav.bytes.size()));
    sf_close(file);
    return wav;
  }
  Wav rendered() const { return read(output); }

  static Wav joined(std::initializer_list<Wav> parts) {
    Wav whole = *parts.begin();
    whole.bytes.clear();
    for (const Wav& part : parts) whole.bytes += part.bytes;
    return whole;
  }
  // `frames` of silence in the format of `like`.
  static Wav silence(const Wav& like, size_t frames) {
    Wav wav = like;
    const bool eightBit = (like.info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8;
    wav.bytes.assign(frames * (eightBit ? 1 : 2), eightBit ? '\x80' : '\0');
    return wav;
  }

  bool outputExists() const { return QFile::exists(output); }
  QStringList filesLeft() const { return QDir(directory.path()).entryList(QDir::Files); }

  QTemporaryDir directory;
  QString output = directory.filePath("script.wav");
};

struct Settings {
  const char* name;
  QStringList options;
  int rate;
};

void PrintTo(const Settings& s, std::ostream* os) {
  *os << s.name;
}

class ScriptRenderSettings : public ScriptRender, public ::testing::WithParamInterface<Settings> {};

// Each tone exactly as a render of it alone; the delay as silence of the format's silent value.
TEST_P(ScriptRenderSettings, ThreeLinesAreTheSingleRendersJoinedWithTheDelaysSilence) {
  const Settings& s = GetParam();
  const Outcome o =
      render("tone 440 2 0 50 80\r\ndelay 1\r\nsweep 100 3000 2 4 30 90 1\r\nend\r\n", s.options);
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav tone =
      single(QStringList{"--freq", "440", "--period", "2", "--level", "80"} + s.options);
  const Wav sweep =
      single(QStringList{"--sweep", "--init", "100", "--final", "3000", "--period", "2", "--pulses",
                         "4", "--duty", "30", "--level", "90", "--log"} +
             s.options);
  const Wav script = rendered();
  EXPECT_EQ(script.info.samplerate, s.rate);
  EXPECT_TRUE(script == joined({tone, silence(tone, s.rate), sweep}))
      << script.bytes.size() << " bytes against " << tone.bytes.size() << " + "
      << sweep.bytes.size() << " and a second of silence";
  EXPECT_FALSE(QFile::exists(output + ".partial"));
}

INSTANTIATE_TEST_SUITE_P(
    Script, ScriptRenderSettings,
    ::testing::Values(Settings{"FirstStart", {}, 22050},
                      Settings{
                          "EightBitTriangle", {"--bits", "8", "--waveform", "triangular"}, 22050},
                      Settings{"Bandwidth48000TwoSmallBuffers",
                               {"--bandwidth", "48000", "--buffers", "2", "--buffer-size", "4096"},
                               96000}),
    [](const auto& info) { return std::string(info.param.name); });

// Fields a line leaves out keep the earlier line's text; two spaces move every argument on.
TEST_F(ScriptRender, CarriedOverFieldsAndTheTwoSpaceShiftPlayAsTheWindowTakesThem) {
  const Outcome o = render("tone 1000 1 0 50 80\ntone 440\ntone 660 1  0 50 100\nend\n");
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav first = single({"--freq", "1000", "--period", "1", "--level", "80"});
  const Wav carried = single({"--freq", "440", "--period", "1", "--level", "80"});
  // Field 4 empty: pulses 0, duty "0", level "50"; the "100" lands in field 7, which a tone
  // does not read.
  const Wav shifted = single({"--freq", "660", "--period", "1", "--level", "50"});
  EXPECT_TRUE(rendered() == joined({first, carried, shifted}));
}

// A tenth of a second at 11025 samples per second is 1102.5 samples: the steps of a delay end
// on the nearest frame, ties to even, so that every whole second holds 11025 frames.
TEST_F(ScriptRender, DelaysAtARateThatIsNoMultipleOfTenHoldWholeSeconds) {
  const Outcome o = render("delay 3\ndelay 0\ndelay -2\ndelay 1\nend\n", {"--bandwidth", "5512.5"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav wav = rendered();
  EXPECT_EQ(wav.info.samplerate, 11025);
  EXPECT_EQ(wav.bytes, std::string((3 * 11025 + 1102 + 1102 + 11025) * 2, '\0'));
}

TEST_F(ScriptRender, ARepeatingScriptRendersExactlyItsLength) {
  const Outcome o = render("tone 1000 1 0 50 100\ndelay 1\nrepeat\n", {"--length", "3.7"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav tone = single({"--freq", "1000", "--period", "1"});
  const Wav wav = rendered();
  ASSERT_EQ(wav.bytes.size(), static_cast<size_t>(3.7 * 22050) * 2);
  const Wav pass = joined({tone, silence(tone, 22050)});
  EXPECT_EQ(wav.bytes.substr(0, pass.bytes.size()), pass.bytes);
  EXPECT_EQ(wav.bytes.substr(pass.bytes.size(), tone.bytes.size()),
            tone.bytes.substr(0, wav.bytes.size() - pass.bytes.size()));
}

// Refused before anything is written: an existing file keeps its bytes.
TEST_F(ScriptRender, ARepeatingScriptWithoutItsLengthOrWithoutSoundIsRefused) {
  {
    QFile existing(output);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
  }
  const Outcome noLength = render("rem loop\ntone 440 1\nrepeat\n");
  EXPECT_EQ(noLength.exitCode, QuorgenRun::kUsage);
  EXPECT_NE(noLength.err.find("repeats (line 3): render needs --length SECONDS"), std::string::npos)
      << noLength.err;
  const Outcome silent = render("rem nothing\npause\nrepeat\n", {"--length", "10"});
  EXPECT_EQ(silent.exitCode, QuorgenRun::kFailed);
  EXPECT_NE(silent.err.find("repeats without a tone, sweep or delay"), std::string::npos)
      << silent.err;
  QFile kept(output);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep me");
  EXPECT_EQ(filesLeft(), (QStringList{"script.qvs", "script.wav"}));
}

struct Ending {
  const char* name;
  const char* script;
  int exitCode;
  const char* err;
  double tonesBeforeTheEnd;  // one-second tones of 1000 Hz the file holds
};

void PrintTo(const Ending& e, std::ostream* os) {
  *os << e.name;
}

class ScriptRenderEndings : public ScriptRender, public ::testing::WithParamInterface<Ending> {};

// The file holds what was played up to the line that ended the run; the messages are the
// window's.
TEST_P(ScriptRenderEndings, KeepWhatWasPlayedAndSetTheExitStatus) {
  const Ending& e = GetParam();
  const Outcome o = render(e.script);
  EXPECT_EQ(o.exitCode, e.exitCode) << o.err;
  EXPECT_EQ(o.err, e.err);
  const Wav tone = single({"--freq", "1000", "--period", "1"});
  Wav expected = tone;
  expected.bytes = std::string();
  for (int i = 0; i < e.tonesBeforeTheEnd; ++i) expected.bytes += tone.bytes;
  EXPECT_TRUE(rendered() == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Script, ScriptRenderEndings,
    ::testing::Values(
        Ending{"End", "tone 1000 1\ntone 1000 1\nend\ntone 1000 1\n", 0, "", 2},
        Ending{"PauseIsSkipped", "tone 1000 1\npause\nend\n", 0,
               "Pause in script. Please press OK to continue (skipped in a render)\n", 1},
        Ending{"InvalidLine", "tone 1000 1\nTone 1000 1\ntone 1000 1\nend\n", 1,
               "An invalid script command was found in line 2\n", 1},
        Ending{"NoEnd", "tone 1000 1\n", 1, "An invalid script command was found in line 2\n", 1},
        Ending{"DelayNotWhole", "tone 1000 1\ndelay 1.5\nend\n", 1,
               "'1.5' is not a valid integer value\n", 1},
        Ending{"ToneThatCannotStart", "tone 1000 1\ntone 1000 0\nend\n", 1,
               "The tone cannot start: the period must be at least 1 second.\n", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptRender, CtrlCEndsTheRunWithoutAFile) {
  EventLoop::Handle ctrlC;
  const Outcome o = render("tone 1000 120\nend\n", {}, [&ctrlC](QuorgenScriptRun& run) {
    ctrlC = threadEventLoop().startTimer(std::chrono::milliseconds(0), true,
                                         [&run] { run.interrupt(); });
  });
  EXPECT_EQ(o.exitCode, QuorgenRun::kInterrupted) << o.err;
  EXPECT_EQ(filesLeft(), QStringList{"script.qvs"});
}

TEST_F(ScriptRender, AScriptThatCannotBeReadWritesNothing) {
  const ParsedCommandLine p = parsed({"render", directory.filePath("missing.qvs"), "-o", output});
  std::ostringstream err;
  EXPECT_EQ(renderScriptCommand(p.request, err, false), QuorgenRun::kFailed);
  EXPECT_NE(err.str().find("missing.qvs: The specified file was not found"), std::string::npos)
      << err.str();
  EXPECT_TRUE(filesLeft().isEmpty());
}

}  // namespace
}  // namespace quor::tools
