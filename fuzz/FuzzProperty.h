#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quor::fuzz {

// A property that does not hold is a finding as much as a crash: the abort makes libFuzzer
// keep the input that broke it.
inline void require(bool holds, const std::string& property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property.c_str());
  std::abort();
}

}  // namespace quor::fuzz
