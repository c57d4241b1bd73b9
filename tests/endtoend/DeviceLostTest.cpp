#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "SoundServer.h"

namespace quor::testing {
namespace {

// A sound server of this test's own, so that killing it disturbs no other test.
class PrivateSoundServer {
 public:
  PrivateSoundServer() : directory_("/tmp/quor-lost-XXXXXX") {
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUOR_SERVICES_DIR", directory_.path());
    shell.setProcessEnvironment(env);
    shell.start("bash", {"-c",
                         "source \"$1\" && services_start && "
                         "printf '%s\\n' \"$XDG_RUNTIME_DIR\" \"$PULSE_SERVER\" "
                         "\"$ALSA_CONFIG_PATH\" \"$PULSE_CLIENTCONFIG\" \"$PULSE_RUNTIME_PATH\"",
                         "services", QUOR_SERVICES_SCRIPT});
    shell.waitForFinished(30000);
    const QStringList lines = QString::fromLocal8Bit(shell.readAllStandardOutput()).split('\n');
    if (lines.size() < 5 || lines[1].isEmpty()) return;
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert("XDG_RUNTIME_DIR", lines[0]);
    environment_.insert("PULSE_SERVER", lines[1]);
    environment_.insert("ALSA_CONFIG_PATH", lines[2]);
    environment_.insert("PULSE_CLIENTCONFIG", lines[3]);
    QFile pidFile(lines[4] + "/pid");
    if (pidFile.open(QIODevice::ReadOnly)) pid_ = QString(pidFile.readAll()).trimmed().toLongLong();
  }
  ~PrivateSoundServer() { kill(); }

  bool running() const { return pid_ > 0; }
  const QProcessEnvironment& environment() const { return environment_; }
  void kill() {
    if (pid_ > 0) ::kill(static_cast<pid_t>(pid_), SIGKILL);
    pid_ = 0;
  }

 private:
  QTemporaryDir directory_;
  QProcessEnvironment environment_;
  qint64 pid_ = 0;
};

TEST(DeviceLost, KillingTheSoundServerEndsPlayWithAnErrorWithinTwoSeconds) {
  if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << "pulseaudio is not installed";
    GTEST_SKIP() << "pulseaudio is not installed";
  }
  PrivateSoundServer server;
  ASSERT_TRUE(server.running()) << "the private sound server did not start";
  const QuorgenResult result = runQuorgen({"play", "--loop", "60"}, server.environment(), 15000,
                                          1500, [&](qint64) { server.kill(); });
  ASSERT_TRUE(result.finished) << "quorgen hung after its sound server died";
  EXPECT_LT(result.secondsAfterDuring, 2.0);
  EXPECT_NE(result.exitCode, 0);
  EXPECT_NE(result.standardError.find("sound device failed"), std::string::npos)
      << result.standardError;
}

}  // namespace
}  // namespace quor::testing
