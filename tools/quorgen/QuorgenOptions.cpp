#include "QuorgenOptions.h"

#include <QCommandLineParser>

#include "QuorgenChecks.h"
#include "WindowLayout.h"

namespace quor::tools {

namespace {

struct OptionSet {
  QCommandLineOption freq{
      "freq", "Frequency in Hz of a constant tone, above 0 and below the bandwidth (field fEdit).",
      "TEXT"};
  QCommandLineOption sweep{"sweep", "Play a sweep instead of a constant tone (page Sweep)."};
  QCommandLineOption init{
      "init", "Initial frequency in Hz of a sweep, below the bandwidth (field fInit).", "TEXT"};
  QCommandLineOption final{
      "final", "Final frequency in Hz of a sweep, below the bandwidth (field fFinal).", "TEXT"};
  QCommandLineOption log{"log", "Logarithmic sweep (check box Logarithmic checked; default)."};
  QCommandLineOption linear{"linear", "Linear sweep (check box Logarithmic unchecked)."};
  QCommandLineOption period{"period", "Tone period in whole seconds, 1 to 120 (field Duration).",
                            "TEXT"};
  QCommandLineOption level{
      "level", "Output level, 0 to 100 = full scale, in dB steps (field Amplitude).", "TEXT"};
  QCommandLineOption waveform{"waveform", "sine, square or triangular (list WaveForm).", "KIND"};
  QCommandLineOption pulses{"pulses", "Pulses per second, 0 to 120, 0 = continuous (field Pulses).",
                            "TEXT"};
  QCommandLineOption duty{
      "duty", "Duty cycle of the pulses in percent, 1 to 100 (field DutyCycle).", "TEXT"};
  QCommandLineOption offset{"offset", "Shift the signal above zero (check box chkPositiveOffset)."};
  QCommandLineOption loop{"loop",
                          "Repeat the period (check box chkLoop) and stop after SECONDS "
                          "(rounded to a whole sample). Without it the tone ends after its "
                          "period.",
                          "SECONDS"};
  QCommandLineOption bandwidth{"bandwidth",
                               "5512.5, 11025, 22050, 24000 or 48000 Hz; the sample rate is twice "
                               "this (list FSList).",
                               "HZ"};
  QCommandLineOption bits{"bits", "8 or 16 bits per sample (list cboSoundQuality).", "BITS"};
  QCommandLineOption buffers{"buffers", "2, 3 or 4 buffers in the ring (list Buffers).", "N"};
  QCommandLineOption bufferSize{"buffer-size",
                                "Bytes per buffer: 4096, 8192, 16384, 32768 or 64536 (list "
                                "BufferSizeEdit).",
                                "BYTES"};
  QCommandLineOption device{"device",
                            "play only: item of the device list, 0 = the system's default "
                            "output (list WaveDevice; see 'quorgen devices').",
                            "N"};
  QCommandLineOption output{{"o", "output"}, "render only: the WAV file to write.", "FILE"};
  QCommandLineOption length{"length",
                            "render of a script only: stop after SECONDS of output (rounded to a "
                            "whole sample); needed for a script that repeats.",
                            "SECONDS"};
  QCommandLineOption help{{"h", "help"}, "Show this help."};
  QCommandLineOption version{"version", "Show the version."};

  void addTo(QCommandLineParser& parser) const {
    parser.addOptions({freq,       sweep,  init,   final,  log,  linear,    period, level,
                       waveform,   pulses, duty,   offset, loop, bandwidth, bits,   buffers,
                       bufferSize, device, output, length, help, version});
  }
};

void describe(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "Quor Generator on the command line: plays a tone or a tone script through the sound\n"
      "server, renders exactly the samples it would play into a WAV file, or checks a script.\n\n"
      "Commands:\n"
      "  play [options] [SCRIPT]    play a tone, or the tone script SCRIPT (.qvs); Ctrl+C\n"
      "                             stops at once\n"
      "  render [options] [SCRIPT] -o FILE\n"
      "                             write a mono RIFF WAV at the tone's sample rate, as fast\n"
      "                             as the machine allows\n"
      "  check [--bandwidth HZ] SCRIPT\n"
      "                             report the lines of SCRIPT that a run would refuse or\n"
      "                             not take as written, as FILE:LINE: error|warning: text\n"
      "  devices                    list the output devices with their item numbers\n\n"
      "Options are the main window's controls, given as a user would type them; a value that\n"
      "the window would not take or would correct is refused. Defaults are\n"
      "the window's first start: sine, 1000 Hz, period 3, level 100, no pulses, no offset,\n"
      "bandwidth 11025, 4 buffers of 16384 bytes, 16 bit, and no loop.\n\n"
      "A script plays its lines as the window's Run Tone Script does: --waveform, --offset,\n"
      "--bandwidth, --bits, --buffers, --buffer-size and --device set what a script does not\n"
      "set; the other tone options fill in the window's fields before the run, and each\n"
      "tone or sweep line types its own fields over them. play shows each line\n"
      "(\"Line 3: tone\") and the script's messages on standard error; a pause line\n"
      "waits for Enter on a terminal and goes on at once otherwise. render skips pauses,\n"
      "writes each tone exactly as a render of that tone alone and each delay as silence\n"
      "(N seconds of N x sample rate samples), and shows a progress bar on a terminal.\n\n"
      "Exit status: 0 done (a script ended by \"end\" or by --length), 1 the sound device or\n"
      "the file failed, or a script ended by an error or an invalid line (a rendered file\n"
      "keeps what was played up to that line), or check found errors; 2 bad command line;\n"
      "130 stopped with Ctrl+C (render then writes no file).");
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addPositionalArgument("command", "play, render, check or devices");
  parser.addPositionalArgument("script", "the tone script (.qvs) to play, render or check",
                               "[SCRIPT]");
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

}  // namespace

std::string quorgenHelp() {
  QCommandLineParser parser;
  OptionSet options;
  describe(parser);
  options.addTo(parser);
  return parser.helpText().toStdString();
}

ParsedCommandLine parseQuorgenArguments(const QStringList& arguments) {
  ParsedCommandLine result;
  QCommandLineParser parser;
  OptionSet o;
  describe(parser);
  o.addTo(parser);
  if (!parser.parse(arguments)) {
    result.error = parser.errorText().toStdString();
    return result;
  }
  QuorgenRequest& r = result.request;
  if (parser.isSet(o.help)) {
    r.command = QuorgenCommand::Help;
    result.ok = true;
    return result;
  }
  if (parser.isSet(o.version)) {
    r.command = QuorgenCommand::Version;
    result.ok = true;
    return result;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) {
    result.error = "a command is needed: play, render, check or devices";
    return result;
  }
  const QString command = positional.front();
  if (command == "play") {
    r.command = QuorgenCommand::Play;
  } else if (command == "render") {
    r.command = QuorgenCommand::Render;
  } else if (command == "check") {
    r.command = QuorgenCommand::Check;
  } else if (command == "devices") {
    r.command = QuorgenCommand::Devices;
  } else {
    result.error = "unknown command '" + command.toStdString() + "'";
    return result;
  }
  const bool takesScript = r.command != QuorgenCommand::Devices;
  if (positional.size() > (takesScript ? 2 : 1)) {
    result.error = takesScript ? "only one script is allowed" : "devices takes no script";
    return result;
  }
  if (positional.size() == 2) r.script = positional.back().toStdString();
  if (r.command == QuorgenCommand::Check && r.script.empty()) {
    result.error = "check needs a SCRIPT";
    return result;
  }

  auto text = [&](const QCommandLineOption& option) -> std::optional<std::string> {
    if (!parser.isSet(option)) return std::nullopt;
    return parser.value(option).toStdString();
  };
  // `allowed` is in the order of the list's items, so its index is the item index.
  auto choice = [&](const QCommandLineOption& option, const std::vector<std::string>& allowed,
                    std::optional<int>& target) {
    if (!parser.isSet(option)) return true;
    const std::optional<int> index = itemOf(allowed, parser.value(option).toStdString());
    if (!index) {
      result.error = "--" + option.names().front().toStdString() + " must be one of " +
                     joined(allowed) + ", not '" + parser.value(option).toStdString() + "'";
      return false;
    }
    target = index;
    return true;
  };

  r.freq = text(o.freq);
  r.init = text(o.init);
  r.final = text(o.final);
  r.period = text(o.period);
  r.level = text(o.level);
  r.pulses = text(o.pulses);
  r.duty = text(o.duty);
  r.sweep = parser.isSet(o.sweep);
  r.offset = parser.isSet(o.offset);
  if (parser.isSet(o.log) && parser.isSet(o.linear)) {
    result.error = "--log and --linear exclude each other";
    return result;
  }
  if (parser.isSet(o.log)) r.logarithmic = true;
  if (parser.isSet(o.linear)) r.logarithmic = false;
  if (!choice(o.waveform, {"sine", "square", "triangular"}, r.waveform) ||
      !choice(o.bandwidth, bandwidthItems(), r.bandwidth) || !choice(o.bits, {"8", "16"}, r.bits) ||
      !choice(o.buffers, bufferCountItems(), r.buffers) ||
      !choice(o.bufferSize, bufferSizeItems(), r.bufferSize))
    return result;
  auto seconds = [&](const QCommandLineOption& option, std::optional<double>& target) {
    if (!parser.isSet(option)) return true;
    bool number = false;
    const double value = parser.value(option).toDouble(&number);
    if (!number || !(value > 0) || value > 1e6) {
      result.error = "--" + option.names().front().toStdString() +
                     " needs a positive number of seconds, not '" +
                     parser.value(option).toStdString() + "'";
      return false;
    }
    target = value;
    return true;
  };
  if (!seconds(o.loop, r.loopSeconds) || !seconds(o.length, r.lengthSeconds)) return result;
  if (parser.isSet(o.device)) {
    bool number = false;
    const int item = parser.value(o.device).toInt(&number);
    if (!number || item < 0) {
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
  if (parser.isSet(o.output)) r.output = parser.value(o.output).toStdString();
  if (r.command == QuorgenCommand::Render && r.output.empty()) {
    result.error = "render needs -o FILE";
    return result;
  }
  if (r.command != QuorgenCommand::Render && parser.isSet(o.output)) {
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
