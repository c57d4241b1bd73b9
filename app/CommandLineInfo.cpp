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

constexpr const char* kScriptEditorHelp =
    R"(Usage: Quor_ScriptEditor [FILE]
Quor Script Editor writes the tone scripts (.qvs) that Quor Generator and quorgen
play: one command per line (tone, sweep, delay, pause, rem, repeat, end), its
arguments separated by single spaces. Each line the interpreter would refuse or not
take as written is marked as it is typed, with the findings of 'quorgen check'; F5
plays the script with 'quorgen play', at the bandwidth chosen in the editor and with
the output settings, waveform and offset that Quor Generator keeps.

FILE is opened, or started as a new script when it does not exist yet. Without it,
as Quor Generator starts the editor, a new script shows the language in comment
lines. Files are saved as Windows-1252 text with CR LF line ends, whole or not at all.

Options:
  -h, --help     show this help and exit
      --version  show the version and exit
)";

std::optional<int> answer(int argc, char** argv, std::ostream& out, const char* program,
                          const char* help) {
  if (argc < 2) return std::nullopt;
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") {
    out << help;
    return 0;
  }
  if (first == "--version") {
    out << versionLine(program);
    return 0;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> answerInfoArgument(int argc, char** argv, std::ostream& out) {
  return answer(argc, argv, out, "quor-generator", kHelp);
}

std::optional<int> answerScriptEditorInfoArgument(int argc, char** argv, std::ostream& out) {
  return answer(argc, argv, out, "Quor_ScriptEditor", kScriptEditorHelp);
}

}  // namespace quor
