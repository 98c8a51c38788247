#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One lyric line placed on the 640 x 480 screen: where the build draws it.
struct LyricLine {
  std::string text;  // CP932 bytes, not empty
  int32_t x = 0;
  int32_t y = 0;
};

// Splits lyrics into lines: a line runs to the first CR, LF or the end; after it one CR and
// then one LF are skipped; a trailing line end adds no line.
std::vector<std::string> SplitLyricLines(const std::string& lyrics);

// Places the non-empty lines: 8 pixels per byte, line k at y1 + 16 k; x = x1 for align 0,
// x1 + (x2 - x1 - 8 len) for align 1, and half that offset (truncated) for any other align.
// Computed wide and cut to 32 bits, as the script shows the values.
std::vector<LyricLine> LayOutLyrics(const std::string& lyrics, int32_t align, int32_t x1,
                                    int32_t y1, int32_t x2);

// Cuts one line (no CR or LF) at character boundaries into lines that LayOutLyrics places inside
// both the 640 x 480 screen and the columns x1 .. x2, each as long as fits: at the last space that
// fits (the space dropped) where there is one, else after the last character that fits. A line
// that fits, and one in columns too narrow for any double-byte character, is returned whole.
std::vector<std::string> BreakLyricLine(const std::string& line, int32_t align, int32_t x1,
                                        int32_t x2);

// The characters of a CP932 text, each one or two bytes (IsShiftJisLead).
std::vector<std::string> SplitCp932Characters(const std::string& text);
