#pragma once

#include <string>

// Conversions between CP932 (the document's and the files' encoding) and UTF-8 (the file
// system's and the terminal's). Bytes that do not convert are replaced: "?" towards CP932,
// U+FFFD towards UTF-8, so a conversion never fails.
std::string Cp932ToUtf8(const std::string& cp932);
std::string Utf8ToCp932(const std::string& utf8);
