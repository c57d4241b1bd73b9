#pragma once
#include <string>
#include <vector>

namespace quor::audio {

// Takes out of this process's ALSA configuration the PCM devices whose plugin re-encodes or
// remixes the signal (a52, upmix, vdownmix, speex), unless another entry of the configuration
// plays through one of them by name. A test tone has to reach the device sample for sample, so
// these are no outputs for it; and PortAudio opens every configured device while it starts,
// which for a52 alone loads a video codec library of a hundred shared objects (some 50 ms of
// CPU time and megabytes of memory on each start of the program).
// Call it before PortAudio starts. Returns the names taken out.
std::vector<std::string> withdrawSignalAlteringAlsaDevices();

}  // namespace quor::audio
