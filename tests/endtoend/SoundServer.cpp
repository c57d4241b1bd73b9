#include "SoundServer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace quor::testing {

std::string soundServerMissingReason() {
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (env.value("PULSE_SINK") != "quor_null" || env.value("PULSE_SERVER").isEmpty())
    return "no private sound server: run the tests through ./quor test (scripts/services.sh)";
  QProcess info;
  info.start("pactl", {"info"});
  if (!info.waitForFinished(5000) || info.exitStatus() != QProcess::NormalExit ||
      info.exitCode() != 0)
    return "the private sound server does not answer (pactl info failed)";
  return {};
}

struct MonitorCapture::Process {
  QProcess process;
};

MonitorCapture::MonitorCapture(const std::string& path, const QProcessEnvironment& environment)
    : process_(new Process) {
  process_->process.setProcessEnvironment(environment);
  process_->process.start(
      "parec", {"--device=quor_null.monitor", "--format=s16le", "--channels=1", "--rate=48000",
                "--file-format=wav", QString::fromStdString(path)});
  started_ = process_->process.waitForStarted(5000);
  // parec writes the header once it is connected; give the stream time to begin.
  QElapsedTimer waited;
  waited.start();
  while (started_ && QFileInfo(QString::fromStdString(path)).size() == 0 && waited.elapsed() < 3000)
    QThread::msleep(20);
  QThread::msleep(200);
}

MonitorCapture::~MonitorCapture() {
  stop();
  delete process_;
}

void MonitorCapture::stop() {
  if (process_->process.state() == QProcess::NotRunning) return;
  process_->process.terminate();  // parec completes the WAV header on SIGTERM
  if (!process_->process.waitForFinished(5000)) process_->process.kill();
  process_->process.waitForFinished(2000);
}

QuorgenResult runQuorgen(const QStringList& arguments, const QProcessEnvironment& environment,
                         int timeoutMs, int afterMs, const std::function<void(qint64)>& during) {
  QuorgenResult result;
  QProcess process;
  process.setProcessEnvironment(environment);
  QElapsedTimer clock;
  clock.start();
  process.start(QUORGEN_PATH, arguments);
  if (!process.waitForStarted(5000)) return result;
  if (during) {
    process.waitForFinished(afterMs);
    if (process.state() != QProcess::NotRunning) during(process.processId());
  }
  const qint64 afterDuring = clock.elapsed();
  result.finished =
      process.waitForFinished(std::max(timeoutMs - static_cast<int>(clock.elapsed()), 1));
  result.seconds = clock.elapsed() / 1000.0;
  result.secondsAfterDuring = (clock.elapsed() - afterDuring) / 1000.0;
  if (!result.finished) {
    process.kill();
    process.waitForFinished(2000);
  }
  result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.standardError = process.readAllStandardError().toStdString();
  return result;
}

}  // namespace quor::testing
