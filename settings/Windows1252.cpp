#include "Windows1252.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace quor {

namespace {

bool undefinedInWindows1252(unsigned code) {
  return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

void appendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Length of the UTF-8 sequence that starts with `lead`; 1 for a byte that starts none.
size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

// One iconv conversion descriptor for the duration of a conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("the C library cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of `in` as it can into `out`; answers the bytes of `in` taken. Stops at
  // the first sequence it cannot convert, which the caller handles and skips.
  size_t convert(std::string_view in, std::string& out) {
    char* source = const_cast<char*>(in.data());
    size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
      char* target = buffer;
      size_t room = sizeof buffer;
      const size_t result = iconv(cd_, &source, &left, &target, &room);
      out.append(buffer, static_cast<size_t>(target - buffer));
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      break;  // EILSEQ or EINVAL: the caller decides
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return in.size() - left;
  }

 private:
  iconv_t cd_;
};

// Plain ASCII reads and writes the same in both encodings. Nearly every line of a script or a
// settings file is ASCII, and opening a converter costs far more than the line's conversion.
bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string decodeWindows1252(std::string_view bytes) {
  if (isAscii(bytes)) return std::string(bytes);
  Converter converter("UTF-8", "CP1252");
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const size_t taken = converter.convert(bytes, out);
    bytes.remove_prefix(taken);
    if (bytes.empty()) break;
    // Only an undefined byte stops the conversion.
    appendUtf8(out, static_cast<unsigned char>(bytes.front()));
    bytes.remove_prefix(1);
  }
  return out;
}

std::string encodeWindows1252(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  Converter converter("CP1252", "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const size_t taken = converter.convert(utf8, out);
    utf8.remove_prefix(taken);
    if (utf8.empty()) break;
    const auto lead = static_cast<unsigned char>(utf8.front());
    size_t length = std::min(sequenceLength(lead), utf8.size());
    // The control characters that stand for the undefined bytes go back to those bytes.
    if (lead == 0xC2 && length == 2) {
      const unsigned code = static_cast<unsigned char>(utf8[1]);
      const unsigned point = 0x80 | (code & 0x3F);
      if ((code & 0xC0) == 0x80 && undefinedInWindows1252(point)) {
        out += static_cast<char>(point);
        utf8.remove_prefix(2);
        continue;
      }
    }
    // A sequence cut short or malformed counts as one bad byte.
    for (size_t i = 1; i < length; ++i) {
      if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
        length = 1;
        break;
      }
    }
    out += '?';
    utf8.remove_prefix(length);
  }
  return out;
}

}  // namespace quor
