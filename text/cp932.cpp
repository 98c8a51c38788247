#include "text/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace {

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// ASCII reads the same in CP932 and UTF-8: most paths and names need no converter.
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The length of the UTF-8 sequence a lead byte starts (1 for a byte that starts none).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Converts `in` with `cd`. Where a sequence does not convert, `replacement` stands for the
// `skip(src, left)` bytes that start there, and `*replaced` (when given) counts it.
template <typename Skip>
std::string RunIconv(iconv_t cd, std::string_view in, std::string_view replacement, Skip skip,
                     size_t* replaced) {
  std::string out;
  out.reserve(in.size() * 3 / 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[1024];
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      const size_t bytes = skip(src, srcLeft);
      out += replacement;
      if (replaced != nullptr) ++*replaced;
      src += bytes;
      srcLeft -= bytes;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::string ConvertText(const std::string& in, const char* to, const char* from,
                        const std::string& replacement) {
  iconv_t raw = iconv_open(to, from);
  if (raw == reinterpret_cast<iconv_t>(-1)) {
    // Passing the bytes through would write UTF-8 where CP932 belongs (or the reverse) without a
    // word; a system without the conversion cannot edit these texts at all.
    throw Cp932Error(std::string("Cannot convert text from ") + from + " to " + to + ": " +
                     std::strerror(errno));
  }
  IconvHandle cd(raw);
  // An invalid or incomplete sequence: one byte is replaced.
  return RunIconv(
      cd.get(), in, replacement, [](const char*, size_t) { return size_t{1}; }, nullptr);
}

std::string Cp932ToUtf8(const std::string& cp932) {
  if (IsAscii(cp932)) return cp932;
  return ConvertText(cp932, "UTF-8", "CP932", "\xEF\xBF\xBD");
}

std::string Utf8ToCp932(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  return ConvertText(utf8, "CP932", "UTF-8", "?");
}

std::string Utf8ToCp932Counted(const std::string& utf8, size_t* replaced) {
  if (IsAscii(utf8)) return utf8;
  return Utf8ToCp932Conversion().Convert(utf8, replaced);
}

Utf8ToCp932Conversion::Utf8ToCp932Conversion() {
  iconv_t raw = iconv_open("CP932", "UTF-8");
  if (raw == reinterpret_cast<iconv_t>(-1)) {
    throw Cp932Error(std::string("Cannot convert text from UTF-8 to CP932: ") +
                     std::strerror(errno));
  }
  handle_ = raw;
}

Utf8ToCp932Conversion::~Utf8ToCp932Conversion() { iconv_close(static_cast<iconv_t>(handle_)); }

std::string Utf8ToCp932Conversion::Convert(std::string_view utf8, size_t* replaced) {
  if (IsAscii(utf8)) return std::string(utf8);
  iconv_t cd = static_cast<iconv_t>(handle_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  // A character without a CP932 code, or bytes that are no UTF-8: one "?" for the whole
  // sequence, so that the count is of characters.
  const auto sequence = [](const char* src, size_t left) {
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(*src));
    size_t skip = 1;
    while (skip < length && skip < left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) {
      ++skip;
    }
    return skip;
  };
  return RunIconv(cd, utf8, "?", sequence, replaced);
}
