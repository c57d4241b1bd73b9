#pragma once
#include <string>
#include <string_view>

namespace quor {

// Tone settings files and tone scripts are 8-bit text in Windows-1252, the code page of the
// Western Windows machines that write them, on every platform. The program works in UTF-8.

// Bytes of a Windows-1252 text as UTF-8. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as Windows reads
// them, so that no byte is lost.
std::string decodeWindows1252(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes. A character the code page cannot hold, and a byte that is
// not valid UTF-8, is written as "?".
std::string encodeWindows1252(std::string_view utf8);

}  // namespace quor
