#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace quor {

// A script file's lines as a run reads them, for those who take the whole file at once (the
// check, the editor): the bytes decoded from Windows-1252, split at LF, every CR dropped. A
// last line without LF counts; the nothing after a final LF is no line.
std::vector<std::string> scriptLinesOf(std::string_view bytes);

// The bytes of a script file that holds `lines` (UTF-8): Windows-1252, each line ended by
// CR LF, as the Windows version writes them.
std::string scriptFileBytes(const std::vector<std::string>& lines);

}  // namespace quor
