#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/event_table.h"
#include "lyrics/lyric_import.h"
#include "lyrics/lyric_placement.h"
#include "song/midi_song.h"

// What the lyric import dialog shows and returns, without the dialog: the source (the song's own
// lyrics or a lyric sheet), the settings, the pages and the events they become, and where the
// events go. The song's lyrics are read once; a change of the settings only remakes the pages.
// The layout is the selected event's, or DefaultLyricLayout() with none.
class LyricImportSession {
 public:
  enum class Source { kSong, kSheet };

  // `table` and `song` (nullptr: no song open) must outlive the session; `selection` is the
  // selected event's index (-1: none).
  LyricImportSession(const EventTable& table, int selection, const MidiSong* song);

  // The song's own lyrics (none without a song).
  void UseSong();
  // A lyric sheet's bytes (a text file's, or pasted text as UTF-8): pages without times, for
  // the queue.
  void UseSheet(std::string bytes);
  // The lyric sheet at `path` (UTF-8). Throws FileReadError; the source is then unchanged.
  void UseSheetFile(const std::string& path);

  void SetLead(int lead);
  void SetLinesPerPage(int lines);
  void SetPlacement(LyricPlacement placement) { placement_ = placement; }

  Source CurrentSource() const { return source_; }
  const LyricImportSettings& Settings() const { return settings_; }
  LyricPlacement Placement() const { return placement_; }
  // The time imported events replace from (kReplaceFrom): the selected event's; 0 with none.
  int32_t ReplaceFrom() const;

  const std::vector<LyricPage>& Pages() const { return import_.pages; }
  // One event per page of the song's lyrics; none for a sheet, whose pages are tapped in.
  const std::vector<EventItem>& Events() const { return import_.events; }
  // Japanese (UTF-8): the reader's notices and what did not fit.
  std::vector<std::string> Notices() const;

  // The live events after placing Events() in the document; `left_out` counts those that do
  // not fit the table.
  std::vector<EventItem> PlacedEvents(size_t* left_out) const;

 private:
  void Remake();

  const EventTable& table_;
  int selection_;
  const MidiSong* song_;
  EventItem layout_;
  Source source_ = Source::kSong;
  LyricImportSettings settings_;
  LyricPlacement placement_ = LyricPlacement::kReplaceAll;
  LyricImport import_;  // the song's syllables once read, the pages of the current source
  std::string sheet_;
  size_t sheet_replaced_ = 0;
  bool song_read_ = false;
};
