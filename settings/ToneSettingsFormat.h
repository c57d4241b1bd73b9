#pragma once
#include <string>
#include <string_view>

#include "MemoryRecord.h"

namespace quor {

// Where the reader of a tone settings file takes its bytes from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  static constexpr int kEnd = -1;
  // The next byte (0 to 255), or kEnd after the last one.
  virtual int next() = 0;
};

// A file's bytes already in memory.
class MemoryBytes : public ByteSource {
 public:
  explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
  int next() override {
    return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : kEnd;
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

// The four presets as a tone settings file holds them: 48 lines, each ended by CR LF, twelve
// per slot in the order Name, fEdit, InitFreq, FinalFreq, ActivePage, Duration, Amplitude,
// WaveForm, Loop, Logarithmic, Pulses, DutyCycle. Texts are Windows-1252, "?" standing for a
// character it cannot hold; Booleans are "True" or "False". PositiveOffset is not kept.
std::string formatToneSettings(const Memories& memories);

// Reads the 48 lines into the four slots, field by field, as Windows programs read such files:
// a line ends at LF or CR LF, past the end of the file texts are empty, the waveform is the
// first word after any blanks and line breaks (0 at the end of the file), a Boolean is "True"
// or "False" in any letter case or a number. A line that does not convert ends the read with
// a ToneError; the fields before it hold their new values and the rest keep theirs, and so
// does PositiveOffset of every slot.
void readToneSettings(ByteSource& source, Memories& memories);

}  // namespace quor
