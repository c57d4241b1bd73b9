#pragma once

namespace quor::audio {

// While one lives, every JACK client this process asks for is refused at once, as if no JACK
// server ran, instead of being looked for. PortAudio's start looks for a JACK server each time,
// which costs several milliseconds (libjack opens its shared-memory database and tries to
// connect) even where none runs; a start that opens only ALSA's default output has no use for
// JACK. Outside one, JACK clients open as always. Hold one only around that start: it holds for
// every thread.
class JackProbeSkipped {
 public:
  JackProbeSkipped();
  ~JackProbeSkipped();
  JackProbeSkipped(const JackProbeSkipped&) = delete;
  JackProbeSkipped& operator=(const JackProbeSkipped&) = delete;
};

}  // namespace quor::audio
