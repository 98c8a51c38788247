#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/lyric_page.h"

// The largest lyric sheet read: far above any song's lyrics.
inline constexpr uint64_t kMaxLyricSheetSize = 4u << 20;

// The pages of a lyric sheet (text without times): UTF-8 (a byte order mark allowed) or
// Shift-JIS, else Latin-1, as GuessEncoding tells; lines end at CR LF, LF or CR. Where the
// sheet has blank lines they part the pages; otherwise a page holds `lines_per_page` lines
// (1 .. kMaxLinesPerPage). TAB is a space, lines lose the spaces at their ends. Characters CP932
// cannot hold become "?" and are added to `replaced`.
std::vector<LyricPage> PagesFromSheet(std::string_view bytes, int lines_per_page, size_t* replaced);

// Reads the regular file at `path` (UTF-8) of at most kMaxLyricSheetSize bytes with
// PagesFromSheet. Throws FileReadError.
std::vector<LyricPage> ReadLyricSheet(const std::string& path, int lines_per_page,
                                      size_t* replaced);
