#include "QuorgenOptions.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <vector>

#include "QuorgenChecks.h"
#include "WindowLayout.h"

namespace quor::tools {

namespace {

// getopt's answer for each option; above every character, so that they never meet the
// characters it answers for single letters.
enum Option : int {
  Freq = 256,
  Sweep,
  Init,
  Final,
  Log,
  Linear,
  Period,
  Level,
  Waveform,
  Pulses,
  Duty,
  Offset,
  Loop,
  Bandwidth,
  Bits,
  Buffers,
  BufferSize,
  Device,
  Output,
  Length,
  Help,
  Version,
  OptionsEnd
};

struct OptionEntry {
  Option id;
  const char* name;
  const char* letter;     // a one-letter alias, or nullptr
  const char* valueName;  // nullptr for a switch
  const char* description;
};

// In the order of the help.
constexpr OptionEntry kOptions[] = {
    {Freq, "freq", nullptr, "TEXT",
     "Frequency in Hz of a constant tone, above 0 and below the bandwidth (field fEdit)."},
    {Sweep, "sweep", nullptr, nullptr, "Play a sweep instead of a constant tone (page Sweep)."},
    {Init, "init", nullptr, "TEXT",
     "Initial frequency in Hz of a sweep, below the bandwidth (field fInit)."},
    {Final, "final", nullptr, "TEXT",
     "Final frequency in Hz of a sweep, below the bandwidth (field fFinal)."},
    {Log, "log", nullptr, nullptr, "Logarithmic sweep (check box Logarithmic checked; default)."},
    {Linear, "linear", nullptr, nullptr, "Linear sweep (check box Logarithmic unchecked)."},
    {Period, "period", nullptr, "TEXT", "Tone period in whole seconds, 1 to 120 (field Duration)."},
    {Level, "level", nullptr, "TEXT",
     "Output level, 0 to 100 = full scale, in dB steps (field Amplitude)."},
    {Waveform, "waveform", nullptr, "KIND", "sine, square or triangular (list WaveForm)."},
    {Pulses, "pulses", nullptr, "TEXT",
     "Pulses per second, 0 to 120, 0 = continuous (field Pulses)."},
    {Duty, "duty", nullptr, "TEXT",
     "Duty cycle of the pulses in percent, 1 to 100 (field DutyCycle)."},
    {Offset, "offset", nullptr, nullptr,
     "Shift the signal above zero (check box chkPositiveOffset)."},
    {Loop, "loop", nullptr, "SECONDS",
     "Repeat the period (check box chkLoop) and stop after SECONDS (rounded to a whole "
     "sample). Without it the tone ends after its period."},
    {Bandwidth, "bandwidth", nullptr, "HZ",
     "5512.5, 11025, 22050, 24000 or 48000 Hz; the sample rate is twice this (list FSList)."},
    {Bits, "bits", nullptr, "BITS", "8 or 16 bits per sample (list cboSoundQuality)."},
    {Buffers, "buffers", nullptr, "N", "2, 3 or 4 buffers in the ring (list Buffers)."},
    {BufferSize, "buffer-size", nullptr, "BYTES",
     "Bytes per buffer: 4096, 8192, 16384, 32768 or 64536 (list BufferSizeEdit)."},
    {Device, "device", nullptr, "N",
     "play only: item of the device list, 0 = the system's default output (list WaveDevice; "
     "see 'quorgen devices')."},
    {Output, "output", "o", "FILE", "render only: the WAV file to write."},
    {Length, "length", nullptr, "SECONDS",
     "render of a script only: stop after SECONDS of output (rounded to a whole sample); "
     "needed for a script that repeats."},
    {Help, "help", "h", nullptr, "Show this help."},
    {Version, "version", nullptr, nullptr, "Show the version."},
};

struct HelpEntry {
  const char* label;
  const char* text;
};

constexpr const char* kAbout =
    "Quor Generator on the command line: plays a tone or a tone script through the sound "
    "server, renders exactly the samples it would play into a WAV file, or checks a script.";

constexpr HelpEntry kCommands[] = {
    {"play [options] [SCRIPT]",
     "play a tone, or the tone script SCRIPT (.qvs); Ctrl+C stops at once"},
    {"render [options] [SCRIPT] -o FILE",
     "write a mono RIFF WAV at the tone's sample rate, as fast as the machine allows"},
    {"check [--bandwidth HZ] SCRIPT",
     "report the lines of SCRIPT that a run would refuse or not take as written, as "
     "FILE:LINE: error|warning: text"},
    {"devices", "list the output devices with their item numbers"},
};

constexpr const char* kNotes[] = {
    "Options are the main window's controls, given as a user would type them; a value that the "
    "window would not take or would correct is refused. Defaults are the window's first start: "
    "sine, 1000 Hz, period 3, level 100, no pulses, no offset, bandwidth 11025, 4 buffers of "
    "16384 bytes, 16 bit, and no loop.",
    "A script plays its lines as the window's Run Tone Script does: --waveform, --offset, "
    "--bandwidth, --bits, --buffers, --buffer-size and --device set what a script does not "
    "set; the other tone options fill in the window's fields before the run, and each tone or "
    "sweep line types its own fields over them. play shows each line (\"Line 3: tone\") and the "
    "script's messages on standard error; a pause line waits for Enter on a terminal and goes "
    "on at once otherwise. render skips pauses, writes each tone exactly as a render of that "
    "tone alone and each delay as silence (N seconds of N x sample rate samples), and shows a "
    "progress bar on a terminal.",
    "Exit status: 0 done (a script ended by \"end\" or by --length), 1 the sound device or the "
    "file failed, or a script ended by an error or an invalid line (a rendered file keeps what "
    "was played up to that line), or check found errors; 2 bad command line; 130 stopped with "
    "Ctrl+C (render then writes no file).",
};

constexpr HelpEntry kArguments[] = {
    {"command", "play, render, check or devices"},
    {"script", "the tone script (.qvs) to play, render or check"},
};

constexpr bool optionsInCodeOrder() {
  for (size_t i = 0; i < std::size(kOptions); ++i)
    if (kOptions[i].id != Freq + static_cast<int>(i)) return false;
  return std::size(kOptions) == OptionsEnd - Freq;
}
static_assert(optionsInCodeOrder(), "kOptions[code - Freq] is the option of that code");

const OptionEntry& entryOf(Option id) {
  return kOptions[id - Freq];
}

// The help fits a terminal of 80 columns; the texts of two-column entries start at kColumn.
constexpr size_t kWidth = 79;
constexpr size_t kColumn = 27;

// `text` filled into lines of kWidth columns, each indented by `indent` spaces.
std::string filled(std::string_view text, size_t indent) {
  std::string lines, line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    if (!line.empty() && indent + line.size() + 1 + word.size() > kWidth) {
      lines += std::string(indent, ' ') + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + std::string(word);
    start = end + 1;
  }
  return lines + std::string(indent, ' ') + line + "\n";
}

// "  LABEL   text ...", the text beside the label, or below it when the label is too long.
std::string helpLine(const std::string& label, std::string_view text) {
  std::string lines = filled(text, kColumn);
  const std::string head = "  " + label;
  if (head.size() + 1 < kColumn) return lines.replace(0, head.size(), head);
  return head + "\n" + lines;
}

std::string optionLabel(const OptionEntry& entry) {
  std::string label = entry.letter ? std::string("-") + entry.letter + ", " : "";
  label += std::string("--") + entry.name;
  if (entry.valueName) label += std::string(" <") + entry.valueName + ">";
  return label;
}

// Index of `value` among `items`, or nullopt.
std::optional<int> itemOf(const std::vector<std::string>& items, const std::string& value) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// The number that all of `text` holds; spaces around it and a leading "+" are allowed.
template <typename Number>
std::optional<Number> numberIn(std::string_view text) {
  constexpr std::string_view kSpaces = " \t\n\v\f\r";
  const size_t first = text.find_first_not_of(kSpaces);
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(kSpaces) + 1 - first);
  if (text.starts_with('+') && !text.starts_with("+-")) text.remove_prefix(1);
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

const std::vector<option>& getoptTable() {
  static const std::vector<option> table = [] {
    std::vector<option> rows;
    for (const OptionEntry& entry : kOptions) {
      const int argument = entry.valueName ? required_argument : no_argument;
      rows.push_back({entry.name, argument, nullptr, entry.id});
      if (entry.letter) rows.push_back({entry.letter, argument, nullptr, entry.id});
    }
    rows.push_back({});
    return rows;
  }();
  return table;
}

// What is wrong with `word`, which getopt matched to no option or, shortened, to several.
std::string unmatched(const std::string& word) {
  std::string_view name(word);
  name.remove_prefix(std::min(name.find_first_not_of('-'), name.size()));
  name = name.substr(0, name.find('='));
  std::vector<std::string> candidates;
  for (const OptionEntry& entry : kOptions)
    if (!name.empty() && std::string_view(entry.name).starts_with(name))
      candidates.push_back(std::string("--") + entry.name);
  if (candidates.size() > 1) return "ambiguous option '" + word + "': " + joined(candidates);
  return "unknown option '" + word + "'";
}

// Why getopt refused `word` with `code`.
std::string refusal(int code, const std::string& word) {
  if (code == ':') return "missing value after '" + word + "'";
  if (optopt >= Freq) return "unexpected value after '" + word.substr(0, word.find('=')) + "'";
  // A character getopt took for a one-letter option; it may sit inside `word`.
  if (optopt > 0) return "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
  return unmatched(word);
}

// The command line as given, before its meaning is looked at: each option's value (the last
// one given; empty for a switch) and the other arguments in their order.
struct GivenArguments {
  std::array<std::optional<std::string>, OptionsEnd - Freq> options;
  std::vector<std::string> positional;
  std::string error;

  const std::optional<std::string>& valueOf(Option id) const { return options[id - Freq]; }
  bool isSet(Option id) const { return valueOf(id).has_value(); }
  const std::string& value(Option id) const { return *valueOf(id); }
};

GivenArguments scan(const std::vector<std::string>& arguments) {
  GivenArguments given;
  std::vector<std::string> words = arguments;  // getopt's argv is writable
  if (words.empty()) words.emplace_back("quorgen");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());
  opterr = 0;
  optind = 0;  // getopt keeps its place from the previous parse unless told to start afresh
  // "-" hands back the other arguments in their place, so options may follow the command and
  // the script even when POSIXLY_CORRECT is set; ":" tells a missing value from an unknown
  // option. A single dash takes long names too ("-freq 440"), as it always has.
  for (;;) {
    const int code = getopt_long_only(argc, argv.data(), "-:", getoptTable().data(), nullptr);
    if (code == -1) break;
    if (code == 1) {
      given.positional.emplace_back(optarg);
    } else if (code >= Freq && code < OptionsEnd) {
      given.options[code - Freq] = optarg ? optarg : "";
    } else {
      given.error = refusal(code, argv[optind - 1]);
      return given;
    }
  }
  // What follows "--".
  given.positional.insert(given.positional.end(), argv.begin() + optind, argv.end() - 1);
  return given;
}

}  // namespace

std::string quorgenHelp() {
  std::string help = "Usage: quorgen [options] command [SCRIPT]\n" + filled(kAbout, 0);
  help += "\nCommands:\n";
  for (const HelpEntry& command : kCommands) help += helpLine(command.label, command.text);
  for (const char* note : kNotes) help += "\n" + filled(note, 0);
  help += "\nOptions:\n";
  for (const OptionEntry& entry : kOptions) help += helpLine(optionLabel(entry), entry.description);
  help += "\nArguments:\n";
  for (const HelpEntry& argument : kArguments) help += helpLine(argument.label, argument.text);
  return help;
}

ParsedCommandLine parseQuorgenArguments(const std::vector<std::string>& arguments) {
  ParsedCommandLine result;
  const GivenArguments given = scan(arguments);
  if (!given.error.empty()) {
    result.error = given.error;
    return result;
  }
  QuorgenRequest& r = result.request;
  if (given.isSet(Help)) {
    r.command = QuorgenCommand::Help;
    result.ok = true;
    return result;
  }
  if (given.isSet(Version)) {
    r.command = QuorgenCommand::Version;
    result.ok = true;
    return result;
  }
  const std::vector<std::string>& positional = given.positional;
  if (positional.empty()) {
    result.error = "a command is needed: play, render, check or devices";
    return result;
  }
  const std::string& command = positional.front();
  if (command == "play") {
    r.command = QuorgenCommand::Play;
  } else if (command == "render") {
    r.command = QuorgenCommand::Render;
  } else if (command == "check") {
    r.command = QuorgenCommand::Check;
  } else if (command == "devices") {
    r.command = QuorgenCommand::Devices;
  } else {
    result.error = "unknown command '" + command + "'";
    return result;
  }
  const bool takesScript = r.command != QuorgenCommand::Devices;
  if (positional.size() > (takesScript ? 2 : 1)) {
    result.error = takesScript ? "only one script is allowed" : "devices takes no script";
    return result;
  }
  if (positional.size() == 2) r.script = positional.back();
  if (r.command == QuorgenCommand::Check && r.script.empty()) {
    result.error = "check needs a SCRIPT";
    return result;
  }

  // `allowed` is in the order of the list's items, so its index is the item index.
  auto choice = [&](Option option, const std::vector<std::string>& allowed,
                    std::optional<int>& target) {
    if (!given.isSet(option)) return true;
    const std::optional<int> index = itemOf(allowed, given.value(option));
    if (!index) {
      result.error = std::string("--") + entryOf(option).name + " must be one of " +
                     joined(allowed) + ", not '" + given.value(option) + "'";
      return false;
    }
    target = index;
    return true;
  };

  r.freq = given.valueOf(Freq);
  r.init = given.valueOf(Init);
  r.final = given.valueOf(Final);
  r.period = given.valueOf(Period);
  r.level = given.valueOf(Level);
  r.pulses = given.valueOf(Pulses);
  r.duty = given.valueOf(Duty);
  r.sweep = given.isSet(Sweep);
  r.offset = given.isSet(Offset);
  if (given.isSet(Log) && given.isSet(Linear)) {
    result.error = "--log and --linear exclude each other";
    return result;
  }
  if (given.isSet(Log)) r.logarithmic = true;
  if (given.isSet(Linear)) r.logarithmic = false;
  if (!choice(Waveform, {"sine", "square", "triangular"}, r.waveform) ||
      !choice(Bandwidth, bandwidthItems(), r.bandwidth) || !choice(Bits, {"8", "16"}, r.bits) ||
      !choice(Buffers, bufferCountItems(), r.buffers) ||
      !choice(BufferSize, bufferSizeItems(), r.bufferSize))
    return result;
  auto seconds = [&](Option option, std::optional<double>& target) {
    if (!given.isSet(option)) return true;
    const std::optional<double> value = numberIn<double>(given.value(option));
    if (!value || !(*value > 0) || *value > 1e6) {
      result.error = std::string("--") + entryOf(option).name +
                     " needs a positive number of seconds, not '" + given.value(option) + "'";
      return false;
    }
    target = value;
    return true;
  };
  if (!seconds(Loop, r.loopSeconds) || !seconds(Length, r.lengthSeconds)) return result;
  if (given.isSet(Device)) {
    const std::optional<int> item = numberIn<int>(given.value(Device));
    if (!item || *item < 0) {
      result.error = "--device needs an item number from 'quorgen devices'";
      return result;
    }
    r.device = item;
  }
  const bool toneOptionsBesideBandwidth = r.freq || r.init || r.final || r.period || r.level ||
                                          r.pulses || r.duty || r.sweep || r.offset ||
                                          r.logarithmic || r.waveform || r.loopSeconds || r.bits ||
                                          r.buffers || r.bufferSize;
  const bool toneOptions = toneOptionsBesideBandwidth || r.bandwidth;
  if (given.isSet(Output)) r.output = given.value(Output);
  if (r.command == QuorgenCommand::Render && r.output.empty()) {
    result.error = "render needs -o FILE";
    return result;
  }
  if (r.command != QuorgenCommand::Render && given.isSet(Output)) {
    result.error = "-o is for render only";
    return result;
  }
  if (r.command != QuorgenCommand::Play && r.device) {
    result.error = "--device is for play only";
    return result;
  }
  if (r.command == QuorgenCommand::Devices && toneOptions) {
    result.error = "devices takes no tone options";
    return result;
  }
  if (r.command == QuorgenCommand::Check && toneOptionsBesideBandwidth) {
    result.error = "check takes no options but --bandwidth";
    return result;
  }
  if (r.lengthSeconds && (r.command != QuorgenCommand::Render || r.script.empty())) {
    result.error = "--length is for render of a script only";
    return result;
  }
  if (r.loopSeconds && !r.script.empty()) {
    result.error = "--loop is for one tone: the tones of a script end by themselves";
    return result;
  }
  result.error = toneValueError(r);
  if (!result.error.empty()) return result;
  result.ok = true;
  return result;
}

}  // namespace quor::tools
