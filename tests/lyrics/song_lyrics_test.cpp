#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyric_song_builder.h"
#include "lyrics/lyric_import.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"

namespace {

constexpr uint8_t kLyric = 0x05;
constexpr uint8_t kText = 0x01;

struct Page {
  int32_t count;
  std::string lyrics;  // UTF-8, CR LF between lines
  bool operator==(const Page&) const = default;
};

void PrintTo(const Page& page, std::ostream* out) { *out << page.count << " " << page.lyrics; }

struct LyricCase {
  const char* name;
  std::vector<uint8_t> song;
  std::vector<Page> pages;
  size_t notices = 0;
  std::string title = "";
  std::string author = "";
};

std::vector<uint8_t> WithKaraokeChunk(std::vector<uint8_t> song, const TrackBuilder& chunk) {
  PutChunk(song, "XFKM", chunk.Data());
  return song;
}

std::vector<LyricCase> Cases() {
  return {
      {"plain syllables: a rest makes a line, two lines a page",
       LyricSong({TextTrack(kLyric, {{0, "Twin"},
                                     {48, "kle "},
                                     {96, "twin"},
                                     {144, "kle"},
                                     {384, "lit"},
                                     {432, "tle "},
                                     {480, "star"},
                                     {768, "how "},
                                     {816, "I "},
                                     {864, "won"},
                                     {912, "der"}})}),
       {{0, "Twinkle twinkle\r\nlittle star"}, {28, "how I wonder"}}},
      {"Soft Karaoke: @ headers are no lyrics, \\ a page, / a line",
       LyricSong({TextTrack(kText, {{0, "@KMIDI KARAOKE FILE"},
                                    {0, "@V0100"},
                                    {0, "@TMy Song"},
                                    {0, "@TSomebody"},
                                    {0, "@LENGL"},
                                    {96, "\\Hel"},
                                    {120, "lo "},
                                    {192, "/world"},
                                    {480, "\\Bye"}})}),
       {{0, "Hello\r\nworld"}, {16, "Bye"}},
       0,
       "My Song",
       "Somebody"},
      {"CR a line, LF a page, TAB a space; a page never hides the one before",
       LyricSong(
           {TextTrack(kLyric, {{0, "Hel"}, {24, "lo\r"}, {48, "big\tworld\n"}, {96, "Bye"}})}),
       {{0, "Hello\r\nbig world"}, {1, "Bye"}}},
      {"Shift-JIS / and < in the text; 表 and ソ end in 0x5C",
       LyricSong({TextTrack(kLyric, Sjis({{0, "表"},
                                          {24, "の"},
                                          {48, "ソ/"},
                                          {96, "さ"},
                                          {120, "くら<"},
                                          {192, "は"},
                                          {216, "る"}}))}),
       {{0, "表のソ\r\nさくら"}, {4, "はる"}}},
      {"{@JP} and {@LATIN} switch, [ruby] dropped, % chords skipped, {#Title=}",
       LyricSong({TextTrack(kLyric, {{0, "{#Title=Sakura}{#Artist=Anon}"},
                                     {96, "{@JP}" + Utf8ToCp932("桜[さくら]")},
                                     {96, "%Am7"},
                                     {120, Utf8ToCp932("咲く\r")},
                                     {192, "{@LATIN}d\xE9j\xE0 vu"}})}),
       {{0, "桜咲く\r\nd?j? vu"}},
       1,
       "Sakura",
       "Anon"},
      {"UTF-8 lyrics; a character CP932 lacks becomes ? with a notice",
       LyricSong({TextTrack(
           kLyric, {{0, "ほし"}, {24, "が "}, {48, "ひかる\r"}, {96, "よる\xF0\x9F\x98\x80"}})}),
       {{0, "ほしが ひかる\r\nよる?"}},
       1},
      {"Latin-1 where the bytes are neither UTF-8 nor Shift-JIS",
       LyricSong({TextTrack(kLyric, {{0, "5\xB0 caf\xE9 "}, {24, "\xA7"}})}),
       {{0, "5° caf? §"}},
       1},
      {"the karaoke chunk after the tracks",
       WithKaraokeChunk(LyricSong({TrackBuilder().Note(0, 0, 60, 384).End()}),
                        TextTrack(kLyric, Sjis({{96, "あ"}, {192, "い<"}, {288, "う"}}))),
       {{0, "あい"}, {8, "う"}}},
      {"the source with the most syllables wins; repeats at one tick are dropped",
       LyricSong({TextTrack(kText, {{0, "Title"}, {96, "Other"}}),
                  TextTrack(kLyric, {{0, "la "}, {0, "la "}, {24, "la "}, {48, "la"}})}),
       {{0, "la la la"}}},
      {"a syllable after the song's end is kept, with a notice",
       WithKaraokeChunk(LyricSong({TrackBuilder().Note(0, 0, 60, 384).End()}),
                        TextTrack(kLyric, {{2000, "late"}})),
       {{79, "late"}},
       1},
      {"lyrics in the conductor track, an empty text",
       Format1Song({TrackBuilder()
                        .Tempo(0, 500000)
                        .Meta(0, kLyric, "one\r")
                        .Meta(24, kLyric, "")
                        .Meta(24, kLyric, "two")
                        .End(),
                    TrackBuilder().Note(0, 0, 60, 96).End()}),
       {{0, "one\r\ntwo"}},
       1},
      {"a track cut short keeps the syllables before the cut",
       [] {
         const std::vector<uint8_t> song =
             LyricSong({TextTrack(kLyric, {{0, "cut "}, {24, "here"}})});
         return std::vector<uint8_t>(song.begin(), song.end() - 5);
       }(),
       {{0, "cut"}},
       2},
      {"no lyrics", LyricSong({TrackBuilder().Note(0, 0, 60, 96).End()}), {}},
  };
}

class SongLyricsTest : public testing::TestWithParam<LyricCase> {};

TEST_P(SongLyricsTest, GivesThePagesTimesAndTexts) {
  const LyricCase& c = GetParam();
  const MidiSong song = ParseMidi(c.song);
  const LyricImport import = ImportSongLyrics(song, {}, DefaultLyricLayout());
  std::vector<Page> pages;
  for (const EventItem& event : import.events) {
    pages.push_back({event.Count, Cp932ToUtf8(event.Lyrics)});
  }
  EXPECT_EQ(pages, c.pages);
  EXPECT_EQ(import.notices.size(), c.notices);
  EXPECT_EQ(Cp932ToUtf8(import.lyrics.title), c.title);
  EXPECT_EQ(Cp932ToUtf8(import.lyrics.author), c.author);
}

INSTANTIATE_TEST_SUITE_P(Conventions, SongLyricsTest, testing::ValuesIn(Cases()),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SongLyrics, TheKaraokeChunkLeavesPlaybackAsItWas) {
  const std::vector<uint8_t> plain = LyricSong({TrackBuilder().Note(0, 0, 60, 384).End()});
  const MidiSong without = ParseMidi(plain);
  const MidiSong with = ParseMidi(WithKaraokeChunk(plain, TextTrack(kLyric, {{960, "la"}})));
  EXPECT_EQ(with.events.size(), without.events.size());
  EXPECT_EQ(with.length_ticks, without.length_ticks);
  EXPECT_TRUE(with.repairs.empty());
  EXPECT_EQ(with.karaoke_events.size(), 2u);  // the syllable and the chunk's end
}

TEST(SongLyrics, MorePagesThanTheTableHoldsAreLeftOutWithANotice) {
  std::vector<Sung> sung;
  for (uint32_t k = 0; k < 1100; ++k) sung.push_back({k * 96, "\\p"});
  const MidiSong song = ParseMidi(LyricSong({TextTrack(kText, sung)}));
  const LyricImport import = ImportSongLyrics(song, {}, DefaultLyricLayout());
  EXPECT_EQ(import.pages.size(), 1100u);
  EXPECT_EQ(import.events.size(), size_t{EventTable::kCapacity});
  ASSERT_EQ(import.notices.size(), 1u);
  EXPECT_NE(import.notices[0].find("76"), std::string::npos);
}

TEST(SongLyrics, TheLeadMovesEveryPageButNoneBeforeTheStart) {
  const MidiSong song =
      ParseMidi(LyricSong({TextTrack(kLyric, {{24, "a\n"}, {384, "b\n"}, {768, "c"}})}));
  for (const auto& [lead, counts] : std::vector<std::pair<int, std::vector<int32_t>>>{
           {0, {1, 16, 32}}, {4, {0, 12, 28}}, {32, {0, 1, 2}}, {99, {0, 1, 2}}}) {
    const LyricImport import = ImportSongLyrics(song, {lead, 2}, DefaultLyricLayout());
    std::vector<int32_t> got;
    for (const EventItem& event : import.events) got.push_back(event.Count);
    EXPECT_EQ(got, counts) << "lead " << lead;
  }
}

}  // namespace
