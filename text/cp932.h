#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "errors/error.h"

// Thrown when the system offers no conversion between CP932 and UTF-8 (iconv cannot be opened).
class Cp932Error : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// Conversions between CP932 (the document's and the files' encoding) and UTF-8 (the file
// system's and the terminal's). Bytes that do not convert are replaced: "?" towards CP932,
// U+FFFD towards UTF-8. Throws Cp932Error when the conversion itself is missing; the text is
// never passed through unconverted.
std::string Cp932ToUtf8(const std::string& cp932);
std::string Utf8ToCp932(const std::string& utf8);

// UTF-8 to CP932 with one "?" for each character CP932 cannot hold and for each byte that is no
// UTF-8; adds their number to `replaced`. Throws Cp932Error as above.
std::string Utf8ToCp932Counted(const std::string& utf8, size_t* replaced);

// The same conversion kept open, for many short texts (a song's syllables).
class Utf8ToCp932Conversion {
 public:
  // Throws Cp932Error when the system offers no conversion.
  Utf8ToCp932Conversion();
  ~Utf8ToCp932Conversion();
  Utf8ToCp932Conversion(const Utf8ToCp932Conversion&) = delete;
  Utf8ToCp932Conversion& operator=(const Utf8ToCp932Conversion&) = delete;

  std::string Convert(std::string_view utf8, size_t* replaced);

 private:
  void* handle_;  // the iconv_t
};

// The conversion both use, between any two encodings iconv knows; bytes that do not convert
// become `replacement`. Throws Cp932Error when iconv cannot open the conversion.
std::string ConvertText(const std::string& in, const char* to, const char* from,
                        const std::string& replacement);
