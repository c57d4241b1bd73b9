#include "PrivateSoundServer.h"

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace quor::testing {

namespace {

// What services_start exports for the clients, in this order.
const char* const kClientVariables[] = {"XDG_RUNTIME_DIR", "PULSE_SERVER", "ALSA_CONFIG_PATH",
                                        "PULSE_CLIENTCONFIG"};

}  // namespace

PrivateSoundServer::PrivateSoundServer() : directory_("/tmp/quor-lost-XXXXXX") {
  start();
}

bool PrivateSoundServer::start() {
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
  if (lines.size() < 5 || lines[1].isEmpty()) return false;
  environment_ = QProcessEnvironment::systemEnvironment();
  for (int i = 0; i < 4; ++i) environment_.insert(kClientVariables[i], lines[i]);
  QFile pidFile(lines[4] + "/pid");
  if (pidFile.open(QIODevice::ReadOnly)) pid_ = QString(pidFile.readAll()).trimmed().toLongLong();
  return running();
}

void PrivateSoundServer::exportToThisProcess() const {
  for (const char* name : kClientVariables) qputenv(name, environment_.value(name).toLocal8Bit());
}

void PrivateSoundServerTest::SetUp() {
  if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) {
    if (qEnvironmentVariableIsSet("CI")) FAIL() << "pulseaudio is not installed";
    GTEST_SKIP() << "pulseaudio is not installed";
  }
  server = std::make_unique<PrivateSoundServer>();
  ASSERT_TRUE(server->running()) << "the private sound server did not start";
}

void PrivateSoundServer::kill() {
  if (pid_ > 0) ::kill(static_cast<pid_t>(pid_), SIGKILL);
  pid_ = 0;
}

}  // namespace quor::testing
