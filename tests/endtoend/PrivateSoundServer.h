#pragma once
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

namespace quor::testing {

// A sound server of a test's own, started through scripts/services.sh in a folder of its own,
// so that killing it disturbs no other test. A restart comes back at the same address.
class PrivateSoundServer {
 public:
  PrivateSoundServer();
  ~PrivateSoundServer() { kill(); }

  // Starts the server (again); false if it did not come up.
  bool start();
  bool running() const { return pid_ > 0; }
  // What a client process needs to find the server: the caller's environment and these.
  const QProcessEnvironment& environment() const { return environment_; }
  // The same, put into this process's own environment, for a client in this process.
  void exportToThisProcess() const;
  void kill();

 private:
  QTemporaryDir directory_;
  QProcessEnvironment environment_;
  qint64 pid_ = 0;
};

// Tests with a private sound server: skipped where PulseAudio is not installed, failed in CI.
class PrivateSoundServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  std::unique_ptr<PrivateSoundServer> server;
};

}  // namespace quor::testing
