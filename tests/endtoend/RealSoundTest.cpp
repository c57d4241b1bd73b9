#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "CaptureAnalysis.h"
#include "SoundServer.h"

namespace quor::testing {
namespace {

// quorgen plays through PortAudio into the private null sink while parec records its monitor;
// the recording is what a listener would have heard.
class RealSound : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = soundServerMissingReason();
    if (missing.empty()) return;
    // CI always has the server; there a missing one is a fault, not a reason to skip.
    if (qEnvironmentVariableIsSet("CI")) FAIL() << missing;
    GTEST_SKIP() << missing;
  }

  // Plays `arguments` and answers the recording.
  Recording playAndRecord(const QStringList& arguments, QuorgenResult& result) {
    const std::string path = directory.filePath("capture.wav").toStdString();
    const auto env = QProcessEnvironment::systemEnvironment();
    {
      MonitorCapture capture(path, env);
      EXPECT_TRUE(capture.started()) << "parec did not start";
      result = runQuorgen(QStringList{"play"} + arguments, env, 20000);
      QThread::msleep(200);  // the sink hands its last block to the monitor
    }
    const auto recording = readRecording(path);
    EXPECT_TRUE(recording.has_value()) << "no capture";
    return recording.value_or(Recording{});
  }

  // Plays `arguments` to its end and answers the recording; a failed run fails the test.
  Recording playToTheEnd(const QStringList& arguments) {
    QuorgenResult result;
    Recording recording = playAndRecord(arguments, result);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    return recording;
  }

  struct Heard {
    double seconds = 0, frequency = 0, level = 0;
  };
  // The tone's length, and frequency and level over its middle.
  static Heard analyse(const Recording& recording) {
    Heard heard;
    const auto span = findTone(recording);
    if (!span) return heard;
    heard.seconds = span->seconds(recording.rate);
    const size_t margin = (span->last - span->first) / 10;
    heard.frequency = zeroCrossingFrequency(recording, span->first + margin, span->last - margin);
    heard.level = sineLevelDbfs(recording, span->first + margin, span->last - margin);
    return heard;
  }

  QTemporaryDir directory;
  // The analysis finds a tone's edges to 5 ms; the rest is for a busy machine.
  static constexpr double kLengthTolerance = 0.05;
};

TEST_F(RealSound, A1000HzToneAtLevel100IsHeardAtFullScale) {
  const Recording recording = playToTheEnd({"--freq", "1000", "--level", "100", "--loop", "1.5"});
  const Heard heard = analyse(recording);
  EXPECT_NEAR(heard.frequency, 1000.0, 10.0);
  EXPECT_NEAR(heard.level, 0.0, 0.5);
}

TEST_F(RealSound, A440HzToneAtLevel80IsHeardTwentyDecibelsDown) {
  const Recording recording =
      playToTheEnd({"--freq", "440", "--level", "80", "--loop", "1.5", "--bandwidth", "22050"});
  const Heard heard = analyse(recording);
  EXPECT_NEAR(heard.frequency, 440.0, 4.4);
  EXPECT_NEAR(heard.level, -20.0, 0.5);
}

// A 3 s period at 22050 samples/s in 2048-sample buffers: the ring plays 32 whole buffers,
// 65536 samples, and then the tone ends by itself, its first and last buffers heard whole.
TEST_F(RealSound, ANonLoopingToneLastsItsPeriodAndEnds) {
  const Recording recording =
      playToTheEnd({"--period", "3", "--buffer-size", "4096", "--freq", "1000"});
  EXPECT_NEAR(analyse(recording).seconds, 65536.0 / 22050.0, kLengthTolerance);
}

TEST_F(RealSound, ALoopingToneStopsWhenTold) {
  const Recording recording =
      playToTheEnd({"--period", "1", "--loop", "2.5", "--waveform", "square"});
  EXPECT_NEAR(analyse(recording).seconds, 2.5, kLengthTolerance);
}

// Two 4096-sample buffers at 96000 samples/s: 43 ms beyond the buffer being refilled, less than
// the sound server takes at once from a device buffer sized for larger rings. The tone would
// sound in pieces with silence between them, and stretch out past its period. (The smallest
// ring of all, two 2048-sample buffers, plays without gaps too, but on a busy machine it can
// miss the deadline of a refill now and then.)
TEST_F(RealSound, ASmallRingAtTheHighestRatePlaysWithoutGaps) {
  const Recording recording = playToTheEnd(
      {"--bandwidth", "48000", "--buffers", "2", "--buffer-size", "8192", "--period", "3"});
  // Next to a zero crossing of the 1000 Hz sine one sample at most is this quiet.
  EXPECT_LT(longestGapSeconds(recording), 0.002);
  // 288000 samples rounded up to whole buffers: 71 of them.
  EXPECT_NEAR(analyse(recording).seconds, 71 * 4096 / 96000.0, kLengthTolerance);
}

// The monitor of a null sink drops what the sink had rendered ahead when a stream is cut off,
// so this one checks the process rather than a recording.
TEST_F(RealSound, CtrlCStopsALoopingToneAtOnce) {
  const QuorgenResult result =
      runQuorgen({"play", "--loop", "30"}, QProcessEnvironment::systemEnvironment(), 20000, 1500,
                 [](qint64 pid) { ::kill(static_cast<pid_t>(pid), SIGINT); });
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 130) << result.standardError;
  EXPECT_LT(result.secondsAfterDuring, 0.5);
  EXPECT_GT(result.seconds, 1.4);  // it was playing, not failing, when Ctrl+C came
}

// A script plays its lines one after the other on the device, each line's status on standard
// error, the delay as a gap between the tones.
TEST_F(RealSound, AScriptPlaysItsTonesWithTheDelayBetween) {
  const QString script = directory.filePath("two.qvs");
  {
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("tone 440 2 0 50 100\r\ndelay 1\r\ntone 880\r\nend\r\n");
  }
  QuorgenResult result;
  const Recording recording = playAndRecord({script}, result);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0) << result.standardError;
  EXPECT_EQ(result.standardError, "Line 1: tone\nLine 2: delay\nLine 3: tone\nLine 4: end\n");
  const auto& x = recording.samples;
  const auto loud = [](double v) { return std::fabs(v) > 0.5; };
  const auto first = static_cast<size_t>(std::find_if(x.begin(), x.end(), loud) - x.begin());
  const auto last =
      static_cast<size_t>(std::find_if(x.rbegin(), x.rend(), loud).base() - x.begin());
  ASSERT_LT(first + recording.rate, last);
  const size_t part = static_cast<size_t>(recording.rate) / 4;
  EXPECT_NEAR(zeroCrossingFrequency(recording, first, first + part), 440.0, 4.4);
  EXPECT_NEAR(zeroCrossingFrequency(recording, last - part, last), 880.0, 8.8);
  // The delay, and the next device's start, lie between the tones.
  EXPECT_GT(longestGapSeconds(recording), 1.0);
}

TEST_F(RealSound, CtrlCEndsAScriptAtOnce) {
  const QString script = directory.filePath("long.qvs");
  {
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("tone 1000 30 0 50 100\nend\n");
  }
  const QuorgenResult result =
      runQuorgen({"play", script}, QProcessEnvironment::systemEnvironment(), 20000, 1500,
                 [](qint64 pid) { ::kill(static_cast<pid_t>(pid), SIGINT); });
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 130) << result.standardError;
  EXPECT_LT(result.secondsAfterDuring, 0.5);
  EXPECT_EQ(result.standardError, "Line 1: tone\n");
}

}  // namespace
}  // namespace quor::testing
