// quorgen check and the pause of quorgen play, in this process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <sstream>

#include "EventLoop.h"
#include "QuorgenOptions.h"
#include "QuorgenRun.h"
#include "ScriptCommands.h"
#include "ScriptPlayHost.h"

namespace quor::tools {
namespace {

class ScriptCheckCommand : public ::testing::Test {
 protected:
  struct Outcome {
    int exitCode = -1;
    std::string out, err;
  };
  Outcome check(const std::string& name, const std::string* bytes) {
    const QString path = directory.filePath(QString::fromStdString(name));
    if (bytes != nullptr) {
      QFile file(path);
      EXPECT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(bytes->data(), static_cast<qint64>(bytes->size()));
    }
    const ParsedCommandLine p = parseQuorgenArguments({"quorgen", "check", path.toStdString()});
    EXPECT_TRUE(p.ok) << p.error;
    std::ostringstream out, err;
    const int code = checkScriptCommand(p.request, out, err);
    return {code, out.str(), err.str()};
  }
  std::string path(const std::string& name) const {
    return directory.filePath(QString::fromStdString(name)).toStdString();
  }
  QTemporaryDir directory;
};

TEST_F(ScriptCheckCommand, ReportsLikeACompilerAndFailsOnlyOnErrors) {
  const std::string good = "tone 440 5 0 50 100\r\ndelay 2\r\nend\r\n";
  const Outcome clean = check("good.qvs", &good);
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out, "");

  const std::string warned = "tone 440 5 0 50 100\ntone 880\nend\n";
  const Outcome warnings = check("warned.qvs", &warned);
  EXPECT_EQ(warnings.exitCode, 0);
  EXPECT_EQ(warnings.out, path("warned.qvs") +
                              ":2: warning: fields missing from this line carry over from earlier "
                              "lines: period '5' (line 1), pulses per second '0' (line 1), duty "
                              "cycle '50' (line 1), level '100' (line 1)\n");

  const std::string bad = "Tone 440 3 0 50 100\ntone  440 3 0 50 100\nend\n";
  const Outcome errors = check("bad.qvs", &bad);
  EXPECT_EQ(errors.exitCode, QuorgenRun::kFailed);
  const std::string file = path("bad.qvs");
  EXPECT_EQ(errors.out,
            file + ":1: error: 'Tone' is no command: command words are lower case (\"tone\")\n" +
                file +
                ":2: warning: two spaces in a row leave field 2 empty: every argument after it "
                "moves one field on\n" +
                file +
                ":2: error: no frequency (field 2): a frequency must be a number above 0 and "
                "below 11025 Hz at bandwidth 11025\n" +
                file +
                ":2: warning: period '440' plays as written, beyond the window's range: the "
                "period must be a whole number of seconds from 1 to 120\n" +
                file +
                ":2: warning: duty cycle '0' plays as written, beyond the window's range: the "
                "duty cycle must be a number from 1 to 100 per cent, written with a decimal "
                "point\n" +
                file + ":2: warning: not used by tone: '100'\n");
  EXPECT_EQ(errors.err, "");
}

TEST_F(ScriptCheckCommand, AFileThatCannotBeReadIsAnError) {
  const Outcome missing = check("missing.qvs", nullptr);
  EXPECT_EQ(missing.exitCode, QuorgenRun::kFailed);
  EXPECT_EQ(missing.err,
            "quorgen: " + path("missing.qvs") + ": The specified file was not found\n");
}

// A pause waits for a line typed at the terminal, and Ctrl+C ends the wait as well.
TEST(ScriptPlayPause, WaitsForEnterOnlyWhenSomeoneCanPressIt) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::ostringstream err;
  ScriptPlayHost interactive(err, pipeEnds[0], true);
  EventLoop& loop = threadEventLoop();
  using std::chrono::milliseconds;
  bool typed = false;
  const EventLoop::Handle partOfALine =
      loop.startTimer(milliseconds(20), true, [&] { ASSERT_EQ(write(pipeEnds[1], "x", 1), 1); });
  const EventLoop::Handle lineEnd = loop.startTimer(milliseconds(40), true, [&] {
    typed = true;
    ASSERT_EQ(write(pipeEnds[1], "\n", 1), 1);
  });
  interactive.pause("Pause in script. Please press OK to continue");
  EXPECT_TRUE(typed);
  const EventLoop::Handle ctrlC =
      loop.startTimer(milliseconds(20), true, [&] { interactive.interrupt(); });
  // Should the interrupt not end it, Enter does, later, and the test fails instead of hanging.
  bool rescued = false;
  const EventLoop::Handle rescue = loop.startTimer(milliseconds(5000), true, [&] {
    rescued = true;
    ASSERT_EQ(write(pipeEnds[1], "\n", 1), 1);
  });
  interactive.pause("Pause in script. Please press OK to continue");
  EXPECT_FALSE(rescued);
  EXPECT_EQ(err.str(),
            "Pause in script. Please press OK to continue (press Enter)\n"
            "Pause in script. Please press OK to continue (press Enter)\n");

  std::ostringstream quiet;
  ScriptPlayHost noTerminal(quiet, pipeEnds[0], false);
  noTerminal.pause("Pause in script. Please press OK to continue");
  EXPECT_EQ(quiet.str(),
            "Pause in script. Please press OK to continue (no terminal to press Enter at: going "
            "on)\n");
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

}  // namespace
}  // namespace quor::tools
