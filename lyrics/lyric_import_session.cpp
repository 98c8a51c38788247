#include "lyrics/lyric_import_session.h"

#include <algorithm>
#include <utility>

#include "files/regular_file.h"
#include "lyrics/lyric_sheet.h"
#include "lyrics/song_lyrics.h"
#include "lyrics/text_encoding.h"

namespace {

const EventItem* SelectedEvent(const EventTable& table, int selection) {
  const bool selected =
      selection >= 0 && selection < table.EventCount && selection < EventTable::kCapacity;
  return selected ? &table.events[selection] : nullptr;
}

}  // namespace

LyricImportSession::LyricImportSession(const EventTable& table, int selection, const MidiSong* song)
    : table_(table), selection_(selection), song_(song) {
  const EventItem* selected = SelectedEvent(table, selection);
  layout_ = selected ? *selected : DefaultLyricLayout();
  UseSong();
}

void LyricImportSession::UseSong() {
  source_ = Source::kSong;
  if (!song_read_ && song_) {
    import_.lyrics = ReadSongLyrics(*song_);
    song_read_ = true;
  }
  Remake();
}

void LyricImportSession::UseSheet(std::string bytes) {
  source_ = Source::kSheet;
  sheet_ = std::move(bytes);
  Remake();
}

void LyricImportSession::UseSheetFile(const std::string& path) {
  UseSheet(ReadRegularFile(path, kMaxLyricSheetSize));
}

void LyricImportSession::SetLead(int lead) {
  settings_.lead = std::clamp(lead, 0, kMaxLead);
  Remake();
}

void LyricImportSession::SetLinesPerPage(int lines) {
  settings_.lines_per_page = std::clamp(lines, 1, kMaxLinesPerPage);
  Remake();
}

int32_t LyricImportSession::ReplaceFrom() const {
  const EventItem* selected = SelectedEvent(table_, selection_);
  return selected ? selected->Count : 0;
}

void LyricImportSession::Remake() {
  if (source_ == Source::kSheet) {
    sheet_replaced_ = 0;
    import_.pages = PagesFromSheet(sheet_, settings_.lines_per_page, &sheet_replaced_);
    import_.events.clear();
    return;
  }
  if (!song_) {
    import_.pages.clear();
    import_.events.clear();
    return;
  }
  RemakeEvents(*song_, settings_, layout_, EventTable::kCapacity, &import_);
}

std::vector<std::string> LyricImportSession::Notices() const {
  if (source_ == Source::kSong) return song_ ? import_.notices : std::vector<std::string>{};
  if (sheet_replaced_ == 0) return {};
  return {ReplacedCharactersNotice(sheet_replaced_)};
}

std::vector<EventItem> LyricImportSession::PlacedEvents(size_t* left_out) const {
  return PlaceLyricEvents(table_, Events(), placement_, ReplaceFrom(), left_out);
}
