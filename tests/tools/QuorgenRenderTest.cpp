#include <gtest/gtest.h>
#include <sndfile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "CaptureAnalysis.h"
#include "QuorgenOptions.h"
#include "QuorgenRun.h"

namespace quor::tools {
namespace {

// quorgen render, run in this process: the engine, the component and the WAV file device.
class QuorgenRender : public ::testing::Test {
 protected:
  struct Outcome {
    int exitCode = -1;
    std::string err;
  };

  Outcome render(const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"quorgen", "render", "-o", path};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const ParsedCommandLine parsed = parseQuorgenArguments(arguments);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    std::ostringstream out, err;
    const int code = renderCommand(parsed.request, out, err);
    return {code, err.str()};
  }

  struct Wav {
    SF_INFO info{};
    std::vector<int16_t> samples;
  };
  Wav read() const {
    Wav wav;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wav.info);
    EXPECT_NE(file, nullptr) << path;
    if (file == nullptr) return wav;
    wav.samples.resize(static_cast<size_t>(wav.info.frames));
    sf_read_short(file, wav.samples.data(), wav.info.frames);
    sf_close(file);
    return wav;
  }

  QTemporaryDir directory;
  std::string path = directory.filePath("tone.wav").toStdString();
};

// The window's defaults: 1000 Hz sine, 3 s, 22050 samples/s, four 16384-byte buffers: eight
// buffers are heard, 65536 samples, starting with the documented values.
TEST_F(QuorgenRender, TheDefaultToneIsEightBuffersOfTheDocumentedSamples) {
  const Outcome o = render({});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav wav = read();
  EXPECT_EQ(wav.info.samplerate, 22050);
  EXPECT_EQ(wav.info.channels, 1);
  EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(wav.samples.size(), 65536u);
  EXPECT_EQ(wav.samples[0], 9211);
  EXPECT_EQ(wav.samples[1], 17679);
  EXPECT_EQ(wav.samples[2], 24722);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".partial")));
}

// A 1 s tone is shorter than the ring: the whole ring plays, the end holding the last sample.
TEST_F(QuorgenRender, AToneShorterThanTheRingPlaysTheWholeRing) {
  const Outcome o = render({"--period", "1"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav wav = read();
  ASSERT_EQ(wav.samples.size(), 32768u);
  const int16_t held = wav.samples[22049];
  for (size_t i = 22050; i < wav.samples.size(); ++i) ASSERT_EQ(wav.samples[i], held) << i;
}

TEST_F(QuorgenRender, EightBitToneIsUnsignedPcm) {
  const Outcome o = render({"--period", "2", "--bits", "8", "--buffer-size", "32768"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav wav = read();
  EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
  EXPECT_EQ(wav.samples.size(), 4u * 32768u);
}

// Too short for one buffer: the start fails as in the window, and an existing file is kept.
TEST_F(QuorgenRender, AToneTooShortForOneBufferFailsAndKeepsAnExistingFile) {
  {
    QFile existing(QString::fromStdString(path));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
  }
  const Outcome o = render({"--period", "1", "--bits", "8", "--buffer-size", "32768"});
  EXPECT_EQ(o.exitCode, QuorgenRun::kFailed);
  EXPECT_EQ(o.err,
            "Soundcard Error! The system message returned by Windows was: \n"
            "There must be at least one filled buffer\n");
  QFile kept(QString::fromStdString(path));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep me");
  EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(QuorgenRender, ALoopStopsAfterExactlyItsSamples) {
  const Outcome o = render({"--loop", "1.5", "--bandwidth", "48000", "--period", "1"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const Wav wav = read();
  EXPECT_EQ(wav.info.samplerate, 96000);
  EXPECT_EQ(wav.samples.size(), 144000u);
  // 0.0001 s at 11025 samples/s is 1.1 samples; 0.00001 s rounds to none, and the shortest
  // loop is one sample.
  ASSERT_EQ(render({"--loop", "0.0001", "--bandwidth", "5512.5"}).exitCode, 0);
  EXPECT_EQ(read().samples.size(), 1u);
  ASSERT_EQ(render({"--loop", "0.00001", "--bandwidth", "5512.5"}).exitCode, 0);
  EXPECT_EQ(read().samples.size(), 1u);
}

TEST_F(QuorgenRender, FrequencyAndLevelFollowTheTypedTexts) {
  ASSERT_EQ(render({"--freq", "440", "--level", "80", "--bandwidth", "22050"}).exitCode, 0);
  const auto recording = quor::testing::readRecording(path);
  ASSERT_TRUE(recording);
  const size_t n = recording->samples.size();
  EXPECT_NEAR(quor::testing::zeroCrossingFrequency(*recording, 0, n), 440.0, 0.5);
  EXPECT_NEAR(quor::testing::sineLevelDbfs(*recording, 0, n), -20.0, 0.05);
}

TEST_F(QuorgenRender, AnUnwritablePlaceFailsWithTheFileInTheMessage) {
  path = directory.filePath("missing/folder/tone.wav").toStdString();
  const Outcome o = render({});
  EXPECT_EQ(o.exitCode, QuorgenRun::kFailed);
  EXPECT_NE(o.err.find("Invalid file name - " + path), std::string::npos) << o.err;
}

}  // namespace
}  // namespace quor::tools
