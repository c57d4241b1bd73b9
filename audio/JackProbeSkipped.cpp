#include "JackProbeSkipped.h"

#include <dlfcn.h>
#include <jack/jack.h>

#include <atomic>
#include <cstdarg>

namespace quor::audio {

namespace {

std::atomic<int> skipping{0};

jack_client_t* refuse(jack_status_t* status) {
  if (status != nullptr) *status = static_cast<jack_status_t>(JackFailure | JackServerFailed);
  return nullptr;
}

}  // namespace

JackProbeSkipped::JackProbeSkipped() {
  ++skipping;
}

JackProbeSkipped::~JackProbeSkipped() {
  --skipping;
}

}  // namespace quor::audio

// Linked into a program, this definition comes before libjack's in the dynamic linker's lookup,
// so PortAudio's call arrives here; anything not refused goes on to libjack unchanged.
extern "C" jack_client_t* jack_client_open(const char* client_name, jack_options_t options,
                                           jack_status_t* status, ...) {
  if (quor::audio::skipping.load() > 0) return quor::audio::refuse(status);
  using Open = jack_client_t* (*)(const char*, jack_options_t, jack_status_t*, ...);
  static const auto libjackOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "jack_client_open"));
  if (libjackOpen == nullptr) return quor::audio::refuse(status);
  // The optional arguments follow in the order of their option bits.
  const char* extra[3] = {};
  int count = 0;
  va_list args;
  va_start(args, status);
  for (const int option : {JackServerName, JackLoadName, JackLoadInit}) {
    if ((options & option) != 0) extra[count++] = va_arg(args, const char*);
  }
  va_end(args);
  return libjackOpen(client_name, options, status, extra[0], extra[1], extra[2]);
}
