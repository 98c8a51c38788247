#include "lyrics/song_lyrics.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "lyrics/lyric_text_reader.h"
#include "song/midi_texts.h"

namespace {

constexpr uint8_t kDrumChannel = 9;

// The karaoke chunks after the tracks, lyric events before text events: the order in which
// equal sources are preferred.
using SourceKey = std::tuple<bool, uint8_t, uint16_t>;  // not karaoke, not lyric, track

SourceKey KeyOf(const MidiText& text) {
  return {!text.karaoke_chunk, text.type != MidiText::kLyric, text.track};
}

// Drops a syllable at the tick of an earlier one with the same text.
void DropRepeats(std::vector<Syllable>* syllables) {
  std::vector<Syllable>& all = *syllables;
  std::vector<Syllable> kept;
  kept.reserve(all.size());
  for (size_t k = 0; k < all.size();) {
    size_t end = k + 1;
    while (end < all.size() && all[end].tick == all[k].tick) ++end;
    if (end - k == 1) {
      kept.push_back(std::move(all[k++]));  // the only one at its tick
      continue;
    }
    // A set: a file may put thousands of syllables at one tick.
    std::unordered_set<std::string> texts;
    for (; k < end; ++k) {
      if (texts.insert(all[k].text).second) kept.push_back(std::move(all[k]));
    }
  }
  all = std::move(kept);
}

// Sets each syllable's end_tick from the shortest note (not a drum) that starts at its tick.
void FindNoteEnds(const MidiSong& song, std::vector<Syllable>* syllables) {
  // Syllables are in time order: the first of each tick holds the end found for that tick.
  auto first_at = [&](int64_t tick) -> Syllable* {
    const auto at = std::lower_bound(syllables->begin(), syllables->end(), tick,
                                     [](const Syllable& s, int64_t t) { return s.tick < t; });
    return at != syllables->end() && at->tick == tick ? &*at : nullptr;
  };
  std::unordered_map<int, int64_t> sounding;  // channel << 7 | key -> start tick
  for (const MidiEvent& event : song.events) {
    if (!event.IsChannel() || event.Channel() == kDrumChannel) continue;
    const int key = event.Channel() << 7 | event.data1;
    const bool on = event.Kind() == 0x90 && event.data2 > 0;
    const bool off = event.Kind() == 0x80 || (event.Kind() == 0x90 && event.data2 == 0);
    if (on) {
      sounding[key] = event.tick;
    } else if (off) {
      const auto start = sounding.find(key);
      if (start == sounding.end()) continue;
      Syllable* first = first_at(start->second);
      if (first && (first->end_tick < 0 || int64_t{event.tick} < first->end_tick)) {
        first->end_tick = event.tick;
      }
      sounding.erase(start);
    }
  }
  int64_t end = -1;
  for (size_t k = 0; k < syllables->size(); ++k) {
    Syllable& syllable = (*syllables)[k];
    if (k == 0 || syllable.tick != (*syllables)[k - 1].tick) end = syllable.end_tick;
    syllable.end_tick = end;
  }
}

std::string Count(size_t n) { return std::to_string(n); }

}  // namespace

SongLyrics ReadSongLyrics(const MidiSong& song) {
  SongLyrics lyrics;
  for (const std::string& repair : song.repairs) {
    lyrics.notices.push_back("MIDI ファイルの壊れた所を読み飛ばしました: " + repair);
  }
  const std::vector<MidiText> texts = TextEventsOf(song);
  std::vector<std::string_view> all;
  all.reserve(texts.size());
  for (const MidiText& text : texts) all.push_back(text.bytes);
  const TextEncoding encoding = GuessEncoding(all);

  Utf8ToCp932Conversion conversion;
  std::map<SourceKey, LyricTextReader> sources;
  for (const MidiText& text : texts) {
    auto [at, added] = sources.try_emplace(KeyOf(text), encoding, &conversion);
    at->second.Read(text.tick, text.bytes);
  }
  LyricTextReader* chosen = nullptr;
  for (auto& [key, reader] : sources) {
    if (!chosen || reader.Syllables().size() > chosen->Syllables().size()) chosen = &reader;
  }
  if (!chosen) return lyrics;
  lyrics.syllables = std::move(chosen->Syllables());
  lyrics.title = chosen->Title();
  lyrics.author = chosen->Author();
  for (const auto& [key, reader] : sources) {
    if (lyrics.title.empty()) lyrics.title = reader.Title();
    if (lyrics.author.empty()) lyrics.author = reader.Author();
  }
  DropRepeats(&lyrics.syllables);
  FindNoteEnds(song, &lyrics.syllables);

  auto notice = [&](size_t n, const std::string& text) {
    if (n > 0) lyrics.notices.push_back(text);
  };
  notice(chosen->Replaced(), ReplacedCharactersNotice(chosen->Replaced()));
  notice(chosen->EmptyTexts(),
         "中身の無い歌詞イベント " + Count(chosen->EmptyTexts()) + " 個を飛ばしました");
  notice(chosen->UnknownCharsets(),
         "知らない文字セットの指定 " + Count(chosen->UnknownCharsets()) + " 個を無視しました");
  const size_t late = static_cast<size_t>(
      std::count_if(lyrics.syllables.begin(), lyrics.syllables.end(),
                    [&](const Syllable& s) { return s.tick > int64_t{song.length_ticks}; }));
  notice(late, "曲の終わりより後の音節が " + Count(late) + " 個あります");
  return lyrics;
}
