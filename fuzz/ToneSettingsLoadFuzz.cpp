// Any bytes as a tone settings file (".qvp"), read into the four presets. The first byte
// decides, for half of the inputs, where the file's read fails as a disk or a vanished network
// share fails it; the rest are the file.
//
// The same bytes are read into two sets of presets that differ in every field. What the read
// reached comes out the same in both; what it did not reach keeps each set's own value. So:
// the fields that agree are a leading run in the file's field order, a complete read reaches
// all 48 fields, a failed one says why, and nothing is ever given to PositiveOffset, which the
// file does not hold. A complete read saved and read again gives back the same presets.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzProperty.h"
#include "MemoryRecord.h"
#include "ToneError.h"
#include "ToneSettingsFormat.h"

namespace {

using namespace quor;
using fuzz::require;

// The bytes of a file whose read breaks after `readable` of them, as FileBytes reports it.
class FailingBytes : public ByteSource {
 public:
  FailingBytes(std::string_view bytes, std::optional<size_t> readable)
      : bytes_(bytes), readable_(readable) {}
  int next() override {
    if (readable_ && position_ == *readable_) throw ToneError("I/O error 5");
    return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : kEnd;
  }

 private:
  std::string_view bytes_;
  std::optional<size_t> readable_;
  size_t position_ = 0;
};

// The 48 fields of the four slots in the file's order, as comparable text.
std::vector<std::string> fieldsInFileOrder(const Memories& memories) {
  std::vector<std::string> fields;
  for (const MemoryRecord& r : memories) {
    for (const std::string& text :
         {r.Name, r.fEdit, r.InitFreq, r.FinalFreq, r.ActivePage, r.Duration, r.Amplitude,
          std::to_string(r.WaveForm), std::string(r.Loop ? "1" : "0"),
          std::string(r.Logarithmic ? "1" : "0"), r.Pulses, r.DutyCycle}) {
      fields.push_back(text);
    }
  }
  return fields;
}

// Two starting points that differ in every field and in PositiveOffset.
Memories startingPoint(bool second) {
  Memories memories;
  for (int slot = 0; slot < kMemorySlots; ++slot) {
    const std::string mark = (second ? "b" : "a") + std::to_string(slot);
    memories[slot] = {mark + "name", mark + "f",     mark + "init", mark + "final",
                      mark + "page", mark + "dur",   mark + "amp",  second ? -7 - slot : 7 + slot,
                      second,        mark + "pulse", mark + "duty", !second,
                      second};
  }
  return memories;
}

// Reads the bytes into `memories`; answers the error's message, or nothing when it read.
std::optional<std::string> read(std::string_view bytes, std::optional<size_t> readable,
                                Memories& memories) {
  FailingBytes source(bytes, readable);
  try {
    readToneSettings(source, memories);
  } catch (const ToneError& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

// Line breaks inside a text field are saved as spaces, so that they cannot shift the lines
// after them; that is the one change a save and a read may make.
Memories asSaved(Memories memories) {
  for (MemoryRecord& r : memories) {
    for (std::string* text : {&r.Name, &r.fEdit, &r.InitFreq, &r.FinalFreq, &r.ActivePage,
                              &r.Duration, &r.Amplitude, &r.Pulses, &r.DutyCycle}) {
      for (char& c : *text)
        if (c == '\r' || c == '\n') c = ' ';
    }
  }
  return memories;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::optional<size_t> readable;
  if (data[0] & 0x80) readable = (data[0] & 0x7F) * bytes.size() / 0x7F;

  Memories first = startingPoint(false);
  Memories second = startingPoint(true);
  const std::optional<std::string> error = read(bytes, readable, first);
  require(read(bytes, readable, second) == error, "the same bytes read the same way");

  const std::vector<std::string> a = fieldsInFileOrder(first);
  const std::vector<std::string> b = fieldsInFileOrder(second);
  const std::vector<std::string> untouchedA = fieldsInFileOrder(startingPoint(false));
  const std::vector<std::string> untouchedB = fieldsInFileOrder(startingPoint(true));
  size_t reached = 0;
  while (reached < a.size() && a[reached] == b[reached]) ++reached;
  for (size_t i = reached; i < a.size(); ++i) {
    require(a[i] == untouchedA[i] && b[i] == untouchedB[i],
            "a field past the failing one keeps its value (field " + std::to_string(i) + ")");
  }
  for (int slot = 0; slot < kMemorySlots; ++slot) {
    require(!first[slot].PositiveOffset && second[slot].PositiveOffset,
            "PositiveOffset is not in the file and keeps its value");
  }
  if (!error) {
    require(reached == a.size(), "a complete read reaches every field");
    Memories again = startingPoint(true);
    const std::string saved = formatToneSettings(first);
    require(!read(saved, std::nullopt, again), "what is saved reads again");
    for (int slot = 0; slot < kMemorySlots; ++slot) again[slot].PositiveOffset = false;
    require(again == asSaved(first), "what is saved reads back as the same presets");
  } else {
    require(!error->empty(), "a failed read says why");
    require(reached < a.size(), "a failed read leaves a field unread");
  }
  return 0;
}
