#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "PollEventLoop.h"

namespace quor {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Runs the loop until `done` or a generous limit; answers the passes it took.
template <typename Done>
int runUntil(PollEventLoop& loop, Done done, int limit = 1000) {
  int passes = 0;
  while (!done() && passes < limit) {
    loop.processEvents(true);
    ++passes;
  }
  return passes;
}

TEST(PollEventLoop, TasksPostedFromOtherThreadsRunOnTheLoopInOrderAndWakeItsWait) {
  PollEventLoop loop;
  std::vector<int> ran;
  std::vector<std::thread::id> on;
  std::thread poster([&] {
    std::this_thread::sleep_for(milliseconds(20));
    for (int i = 0; i < 3; ++i)
      loop.post([&, i] {
        ran.push_back(i);
        on.push_back(std::this_thread::get_id());
      });
  });
  // One wait: it sleeps until the posts wake it, without a timer to come back for.
  const int passes = runUntil(loop, [&] { return ran.size() == 3; });
  poster.join();
  EXPECT_LE(passes, 3);
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
  for (const auto id : on) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(PollEventLoop, AWaitSleepsUntilTheNextTimerInsteadOfSpinning) {
  PollEventLoop loop;
  bool fired = false;
  const auto start = Clock::now();
  const EventLoop::Handle timer = loop.startTimer(milliseconds(30), true, [&] { fired = true; });
  const int passes = runUntil(loop, [&] { return fired; });
  EXPECT_GE(Clock::now() - start, milliseconds(30));
  EXPECT_LE(passes, 2);  // a loop that spun would take thousands
  loop.processEvents(false);
}

TEST(PollEventLoop, TimersRepeatOrFireOnceAndEndWithTheirHandleEvenFromTheirOwnCallback) {
  PollEventLoop loop;
  int once = 0, repeats = 0, droppedByOther = 0;
  EventLoop::Handle single = loop.startTimer(milliseconds(1), true, [&] { ++once; });
  EventLoop::Handle victim;
  EventLoop::Handle repeating;
  repeating = loop.startTimer(milliseconds(1), false, [&] {
    if (++repeats == 3) {
      repeating.reset();  // ends itself inside its callback
      victim.reset();     // and another one due in the same pass
    }
  });
  victim = loop.startTimer(milliseconds(1), false, [&] { ++droppedByOther; });
  runUntil(loop, [&] { return repeats == 3; });
  const int victimRuns = droppedByOther;
  for (int i = 0; i < 5; ++i) {
    std::this_thread::sleep_for(milliseconds(2));
    loop.processEvents(false);
  }
  EXPECT_EQ(once, 1);
  EXPECT_EQ(repeats, 3);
  EXPECT_EQ(droppedByOther, victimRuns);
}

TEST(PollEventLoop, AWatchCallsWhileItsFileHasDataAndStopsWithItsHandle) {
  PollEventLoop loop;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::string got;
  EventLoop::Handle watch = loop.watchReadable(fds[0], [&] {
    char c = 0;
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    got += c;
  });
  loop.processEvents(false);
  EXPECT_EQ(got, "");
  ASSERT_EQ(write(fds[1], "ab", 2), 2);
  runUntil(loop, [&] { return got.size() == 2; });
  EXPECT_EQ(got, "ab");
  watch.reset();
  ASSERT_EQ(write(fds[1], "c", 1), 1);
  loop.processEvents(false);
  EXPECT_EQ(got, "ab");
  close(fds[0]);
  close(fds[1]);
}

TEST(PollEventLoop, HandlesMayOutliveTheirLoop) {
  EventLoop::Handle timer, watch;
  {
    PollEventLoop loop;
    timer = loop.startTimer(milliseconds(1), false, [] {});
    watch = loop.watchReadable(0, [] {});
  }
  timer.reset();  // under the address sanitizer, a use after free would fail here
  watch.reset();
  SUCCEED();
}

TEST(ThreadEventLoop, EachThreadHasItsOwnUnlessOneIsInstalled) {
  EventLoop* mine = &threadEventLoop();
  EventLoop* other = nullptr;
  std::thread([&] { other = &threadEventLoop(); }).join();
  EXPECT_NE(mine, other);
  EXPECT_EQ(mine, &threadEventLoop());
  PollEventLoop installed;
  setThreadEventLoop(&installed);
  EXPECT_EQ(&threadEventLoop(), &installed);
  setThreadEventLoop(nullptr);
  EXPECT_EQ(&threadEventLoop(), mine);
}

}  // namespace
}  // namespace quor
