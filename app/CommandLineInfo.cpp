#include "CommandLineInfo.h"

#include <string_view>

#include "Version.h"

namespace quor {

namespace {

constexpr const char* kHelp =
    R"(Usage: quor-generator [FILE]
Quor Generator plays test tones through the sound card: a constant frequency or a
sweep, sine, square or triangular, at a level in decibel steps, for a period that
loops or ends, continuous or pulsed. Press F1 in the window for its help.

Only the first argument is looked at, and only when it names an existing file:
a name whose last three characters are "qvp" is a tone settings file, whose four
presets are loaded before the window opens; a name whose last three characters are
"qvs" is a tone script, which is run, and the program then exits. Anything else
starts the program as usual.

Options:
  -h, --help     show this help and exit
      --version  show the version and exit
)";

}  // namespace

std::optional<int> answerInfoArgument(int argc, char** argv, std::ostream& out) {
  if (argc < 2) return std::nullopt;
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") {
    out << kHelp;
    return 0;
  }
  if (first == "--version") {
    out << versionLine("quor-generator");
    return 0;
  }
  return std::nullopt;
}

}  // namespace quor
