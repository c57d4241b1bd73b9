#include <gtest/gtest.h>

#include "PrivateSoundServer.h"
#include "SoundServer.h"

namespace quor::testing {
namespace {

class DeviceLost : public PrivateSoundServerTest {};

TEST_F(DeviceLost, KillingTheSoundServerEndsPlayWithAnErrorWithinTwoSeconds) {
  const QuorgenResult result = runQuorgen({"play", "--loop", "60"}, server->environment(), 15000,
                                          1500, [&](qint64) { server->kill(); });
  ASSERT_TRUE(result.finished) << "quorgen hung after its sound server died";
  EXPECT_LT(result.secondsAfterDuring, 2.0);
  EXPECT_NE(result.exitCode, 0);
  EXPECT_NE(result.standardError.find("sound device failed"), std::string::npos)
      << result.standardError;
}

}  // namespace
}  // namespace quor::testing
