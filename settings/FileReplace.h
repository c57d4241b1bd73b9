#pragma once
#include <string>
#include <string_view>

namespace quor {

// Gives a file new content so that it holds either its old bytes or all of the new ones: the
// bytes go to a new file beside it, reach the disk, and only then take the file's name. A
// failure removes that new file, leaves the old one as it was, and throws a ToneError with
// the message for the failing call ("I/O error 28" for a full disk). An existing file keeps
// its permissions; a link is written through to the file it points at.
void replaceFile(const std::string& fileName, std::string_view bytes);

}  // namespace quor
