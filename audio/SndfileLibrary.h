#pragma once
#include <sndfile.h>

#include <string>

namespace quor::audio {

// The calls of libsndfile that a file render makes. The library is loaded on the first render,
// not at program start: with its codecs it is a dozen libraries, whose loading would delay
// every tone that only plays.
struct SndfileLibrary {
  decltype(&sf_open) open;
  decltype(&sf_format_check) formatCheck;
  decltype(&sf_write_raw) writeRaw;
  decltype(&sf_close) close;
};

// The loaded library, or null with `error` set (then again on every call).
const SndfileLibrary* sndfileLibrary(std::string& error);

}  // namespace quor::audio
