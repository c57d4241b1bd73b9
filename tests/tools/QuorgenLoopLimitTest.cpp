#include <gtest/gtest.h>

#include <sstream>

#include "EventLoop.h"
#include "QuorgenOptions.h"
#include "QuorgenRun.h"
#include "SimulatedWaveOut.h"

namespace quor::tools {
namespace {

// A --loop longer than 2^32 frames (12.4 hours at 96000 samples/s) ends at its limit: the
// position is counted in 64 bits from the device up to the limit check. The simulated device
// skips the first 2^32 frames in a moment and then plays a buffer's worth every millisecond.
TEST(QuorgenLoopLimit, ALoopBeyondTwoToThe32FramesStopsAtItsLimit) {
  constexpr uint64_t kSkipped = uint64_t{1} << 32;
  constexpr double kRate = 22050;  // the default bandwidth's
  audio::SimulatedWaveOut device;
  QuorgenRequest request;
  request.command = QuorgenCommand::Play;
  request.loopSeconds = (static_cast<double>(kSkipped) + kRate) / kRate;
  std::ostringstream out, err;
  QuorgenRun run(request, device, {}, out, err, false);

  using std::chrono::milliseconds;
  bool skipped = false;
  const EventLoop::Handle clock = threadEventLoop().startTimer(milliseconds(1), false, [&] {
    if (!skipped) device.skipAhead(kSkipped);
    skipped = true;
    device.advance(4096);
  });
  bool timedOut = false;
  const EventLoop::Handle limit = threadEventLoop().startTimer(milliseconds(10000), true, [&] {
    timedOut = true;
    run.interrupt();
  });
  EXPECT_EQ(run.exec(), QuorgenRun::kDone) << err.str();
  EXPECT_FALSE(timedOut) << "the tone played on past its limit";
  EXPECT_GE(device.played().size(), 2 * static_cast<size_t>(kRate));  // the second past 2^32
}

}  // namespace
}  // namespace quor::tools
