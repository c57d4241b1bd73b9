#include "JackProbeSkipped.h"

#include <gtest/gtest.h>
#include <jack/jack.h>

#include <atomic>

namespace quor::audio {
namespace {

// libjack reports a server it could not reach through its error function; a client refused
// before libjack is asked never gets that far.
std::atomic<int> jackErrors{0};
void countJackError(const char*) {
  ++jackErrors;
}

TEST(JackProbeSkipped, RefusesClientsAtOnceWhileItLivesAndAsksLibjackAfterwards) {
  const auto previous = jack_error_callback;
  jack_set_error_function(countJackError);
  jackErrors = 0;
  jack_status_t status{};
  {
    const JackProbeSkipped skipped;
    EXPECT_EQ(jack_client_open("quor_test", JackNoStartServer, &status), nullptr);
    EXPECT_NE(status & JackServerFailed, 0);
    EXPECT_NE(status & JackFailure, 0);
    EXPECT_EQ(jackErrors, 0);
  }
  // A server name among the optional arguments reaches libjack, which finds no such server.
  status = jack_status_t{};
  jack_client_t* client = jack_client_open(
      "quor_test", JackOptions(JackNoStartServer | JackServerName), &status, "quor_no_such_server");
  if (client != nullptr) jack_client_close(client);
  EXPECT_EQ(client, nullptr);
  EXPECT_NE(status & JackFailure, 0);
  EXPECT_GT(jackErrors, 0);
  jack_set_error_function(previous);
}

}  // namespace
}  // namespace quor::audio
