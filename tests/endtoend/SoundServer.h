#pragma once
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <string>

namespace quor::testing {

// The private sound server that scripts/services.sh starts for the tests, recognised by the
// variables it exports. Empty when there is none.
std::string soundServerMissingReason();

// Records the null sink's monitor into a WAV file from construction until stop().
class MonitorCapture {
 public:
  MonitorCapture(const std::string& path, const QProcessEnvironment& environment);
  ~MonitorCapture();
  bool started() const { return started_; }
  void stop();

 private:
  struct Process;
  Process* process_;
  bool started_ = false;
};

struct QuorgenResult {
  int exitCode = -1;
  bool finished = false;          // within the time allowed
  double seconds = 0;             // from start to exit
  double secondsAfterDuring = 0;  // from the end of `during` to exit
  std::string standardError;
};

// Runs quorgen with `arguments`; `during` (if set) runs once the process has been up
// `afterMs` milliseconds.
QuorgenResult runQuorgen(const QStringList& arguments, const QProcessEnvironment& environment,
                         int timeoutMs, int afterMs = 0,
                         const std::function<void(qint64 pid)>& during = {});

}  // namespace quor::testing
