#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/cp932.h"

// The encodings lyric texts come in.
enum class TextEncoding { kUtf8, kCp932, kLatin1 };

// Whether the bytes are UTF-8; `multi_byte` (when given) tells whether any character takes more
// than one byte.
bool IsUtf8(std::string_view text, bool* multi_byte = nullptr);
// Whether the bytes are Shift-JIS (CP932) as the one character rule cuts them, with every
// second byte in its range and no byte that CP932 leaves unused.
bool IsCp932(std::string_view text);

// The encoding of texts that declare none: UTF-8 when all are UTF-8 and one has a character of
// several bytes; else CP932 when all are CP932; else Latin-1.
TextEncoding GuessEncoding(const std::vector<std::string_view>& texts);

// The text as CP932 bytes. A character CP932 cannot hold, and a byte that is not of the
// encoding, becomes "?" and is added to `replaced`. `conversion` is the UTF-8 conversion to use
// (kept open over many texts); nullptr opens one for this text.
std::string TextToCp932(std::string_view text, TextEncoding encoding, size_t* replaced,
                        Utf8ToCp932Conversion* conversion = nullptr);

// The notice (Japanese, UTF-8) of `replaced` characters that became "?".
std::string ReplacedCharactersNotice(size_t replaced);
