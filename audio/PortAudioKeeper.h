#pragma once
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "PollEventLoop.h"
#include "WaveOut.h"

namespace quor::audio {

struct PortAudioStream;

// The thread that makes the PortAudio calls that can block, so that the owner's thread (the
// user interface's) never waits for the sound server: it starts a stream once its first
// buffers are there, stops one at once, lets one play out what it took before closing it, and
// watches the running streams for a device that has gone away. Every call on a stream after
// its open happens here, in the order asked for. PortAudio keeps its own list of open streams
// without a lock, so its callers on both threads take `paCalls`.
//
// The owner asks with the stream's handle and the stream itself, which must live until the
// keeper has reported it closed; a stream that has been reported closed is not touched again.
class PortAudioKeeper {
 public:
  struct Reports {
    // The stream has gone away (or could not start): the owner takes its buffers back.
    std::function<void(HWAVEOUT handle)> lost;
    // The stream is closed; the keeper has forgotten it.
    std::function<void(HWAVEOUT handle)> closed;
  };

  PortAudioKeeper(std::mutex& paCalls, Reports reports);
  // Stops the thread; the streams it still holds stay open, for the owner to close.
  ~PortAudioKeeper();
  PortAudioKeeper(const PortAudioKeeper&) = delete;
  PortAudioKeeper& operator=(const PortAudioKeeper&) = delete;

  // Sizes the device buffer for the ring once, then starts the stream.
  void start(HWAVEOUT handle, PortAudioStream& stream);
  // Stops the stream at once, dropping what the device holds.
  void stop(HWAVEOUT handle, PortAudioStream& stream);
  // Closes the stream once what it copied out has sounded.
  void close(HWAVEOUT handle, PortAudioStream& stream);
  // A close that waits for the sound to play out closes now.
  void cut(HWAVEOUT handle);

 private:
  void post(std::function<void()> task);
  PortAudioStream* known(HWAVEOUT handle) const;
  void lose(HWAVEOUT handle, PortAudioStream& stream, int failure);
  void finish(HWAVEOUT handle);
  void watch();

  std::mutex& paCalls_;
  Reports reports_;
  PollEventLoop loop_;  // run by thread_; the tasks and timers below run there
  // Keeper thread only.
  bool stopping_ = false;
  std::map<HWAVEOUT, PortAudioStream*> streams_;  // asked about and not yet closed
  std::set<HWAVEOUT> running_;
  std::map<HWAVEOUT, EventLoop::Handle> draining_;
  EventLoop::Handle watchdog_;
  std::thread thread_;  // last: it starts once everything it uses is there
};

}  // namespace quor::audio
