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
  // Small fragments: the sink then renders little ahead, and what it renders reaches the file
  // at once.
  process_->process.start(
      "parec", {"--device=quor_null.monitor", "--format=s16le", "--channels=1", "--rate=48000",
                "--latency-msec=10", "--file-format=wav", QString::fromStdString(path)});
  started_ = process_->process.waitForStarted(5000);
  // An idle sink wakes up to two seconds after the recording connects, and only from then on is
  // anything recorded: wait until a tenth of a second has come.
  constexpr qint64 kFlowing = 44 + 9600;
  QElapsedTimer waited;
  waited.start();
  while (started_ && QFileInfo(QString::fromStdString(path)).size() < kFlowing &&
         waited.elapsed() < 5000)
    QThread::msleep(20);
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
