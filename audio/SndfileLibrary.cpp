#include "SndfileLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace quor::audio {

namespace {

// The name of the library whose interface sndfile.h describes (version 1 of its ABI).
constexpr const char* kLibraryName = "libsndfile.so.1";

struct Loaded {
  std::optional<SndfileLibrary> library;
  std::string error;
};

template <typename Function>
bool find(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

Loaded load() {
  Loaded loaded;
  void* handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  SndfileLibrary library{};
  if (handle == nullptr) {
    const char* why = dlerror();
    loaded.error =
        std::string("libsndfile cannot be loaded: ") + (why != nullptr ? why : kLibraryName);
    return loaded;
  }
  if (!find(handle, "sf_open", library.open) ||
      !find(handle, "sf_format_check", library.formatCheck) ||
      !find(handle, "sf_write_raw", library.writeRaw) || !find(handle, "sf_close", library.close)) {
    loaded.error = std::string("libsndfile cannot be loaded: ") + kLibraryName +
                   " lacks a function this program calls";
    dlclose(handle);
    return loaded;
  }
  loaded.library = library;  // stays loaded for the rest of the process
  return loaded;
}

}  // namespace

const SndfileLibrary* sndfileLibrary(std::string& error) {
  static const Loaded loaded = load();
  if (!loaded.library) {
    error = loaded.error;
    return nullptr;
  }
  return &*loaded.library;
}

}  // namespace quor::audio
