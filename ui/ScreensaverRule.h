#pragma once
#include <cstdint>

#include "ToneControls.h"

namespace quor {

inline constexpr uint32_t kWmSysCommand = 274;    // WM_SYSCOMMAND, 0x112
inline constexpr uint64_t kScScreensave = 61760;  // SC_SCREENSAVE, 0xF140

// The application-wide message hook's rule where the screensaver is started by a window
// message: true (drop the message) only for the screensaver request while a tone plays with
// "Disable Screensaver when active" checked. Every other message passes.
bool AppMessage(uint32_t message, uint64_t firstParameter, bool outputActive,
                bool disableScreensaverChecked);

// The click on "Disable Screensaver when active": inverts its check mark, nothing else.
void DisableScreensaverClick(ToneControls& controls);

}  // namespace quor
