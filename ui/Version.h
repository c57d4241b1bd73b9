#pragma once

namespace quor {

inline constexpr const char* kProductName = "Quor Generator";
inline constexpr const char* kVersion = "3.4";

}  // namespace quor
