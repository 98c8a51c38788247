#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/event_table.h"
#include "lyrics/lyric_events.h"
#include "lyrics/lyric_page.h"
#include "lyrics/lyric_pages.h"
#include "song/midi_song.h"

// The choices of an import.
struct LyricImportSettings {
  int lead = kDefaultLead;                    // sixteenths, 0 .. kMaxLead
  int lines_per_page = kDefaultLinesPerPage;  // where the lyrics mark no pages
};

// A song's lyrics made into events.
struct LyricImport {
  SongLyrics lyrics;
  std::vector<LyricPage> pages;
  std::vector<EventItem> events;  // one per page, but for those left out
  // Japanese (UTF-8): the reader's notices and the pages left out; empty for a clean import.
  std::vector<std::string> notices;
};

// Reads the song's lyrics and makes their pages into events laid out as `layout`, at most
// `room` of them (the rest are left out, with a notice).
LyricImport ImportSongLyrics(const MidiSong& song, const LyricImportSettings& settings,
                             const EventItem& layout, size_t room = EventTable::kCapacity);

// The pages again (after a change of the settings) without reading the song a second time.
void RemakeEvents(const MidiSong& song, const LyricImportSettings& settings,
                  const EventItem& layout, size_t room, LyricImport* import);
