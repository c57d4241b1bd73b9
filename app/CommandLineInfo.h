#pragma once
#include <optional>
#include <ostream>

namespace quor {

// --help and --version, answered before any window or sound device is opened, so that they
// work without a display (the manual page is made from them at build time). Like a file, they
// count only as the first argument. Returns the exit status when one of them was answered.
std::optional<int> answerInfoArgument(int argc, char** argv, std::ostream& out);

// The same for the script editor, Quor_ScriptEditor.
std::optional<int> answerScriptEditorInfoArgument(int argc, char** argv, std::ostream& out);

}  // namespace quor
