#pragma once

#include <cstdint>
#include <vector>

#include "lyrics/lyric_page.h"

// How lyrics without marks are cut into pages.
inline constexpr int kDefaultLinesPerPage = 2;
inline constexpr int kMaxLinesPerPage = 16;

// The pages of a song's syllables. Where the syllables mark no line at all, a line ends at a
// rest of at least a quarter note (`division` ticks) -- from the end of the note sung on a
// syllable, or, where no note starts at its tick, from a half note after it; where they mark no
// page, a page holds `lines_per_page` lines (1 .. kMaxLinesPerPage). Lines lose the spaces at
// their ends; lines and pages left empty are dropped.
std::vector<LyricPage> PagesFromSyllables(const std::vector<Syllable>& syllables, int64_t division,
                                          int lines_per_page);
