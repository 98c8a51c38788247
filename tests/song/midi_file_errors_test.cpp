#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "smf_builder.h"
#include "song/midi_file_reader.h"
#include "tests/support/temp_folder.h"

namespace {

using ::testing::HasSubstr;

std::vector<uint8_t> TwoTrackSong() {
  return BuildSmf(1, 96,
                  {TrackBuilder().Tempo(0, 500000).End(), TrackBuilder().Note(0, 0, 60, 96).End()});
}

std::vector<uint8_t> WithTrack(std::initializer_list<uint8_t> events) {
  std::vector<uint8_t> bytes = BuildSmf(0, 96, {});
  bytes[11] = 1;
  PutChunk(bytes, "MTrk", std::vector<uint8_t>(events));
  return bytes;
}

std::vector<uint8_t> WithHeader(uint16_t format, uint16_t tracks, uint16_t division) {
  std::vector<uint8_t> bytes = BuildSmf(format, division, std::vector<TrackBuilder>(tracks));
  for (size_t i = 14; i < bytes.size(); i += 12) {
    bytes.insert(bytes.begin() + long(i) + 8, {0x00, 0xFF, 0x2F, 0x00});
    bytes[i + 7] = 4;
  }
  return bytes;
}

// "refused: <reason>", "repaired: <first repair> | ..." or "whole".
std::string OutcomeOf(const std::vector<uint8_t>& bytes) {
  try {
    const MidiSong song = ParseMidi(bytes);
    if (song.repairs.empty()) return "whole";
    std::string text = "repaired:";
    for (const std::string& repair : song.repairs) text += " " + repair + " |";
    return text;
  } catch (const MidiFileError& error) {
    return std::string("refused: ") + error.what();
  }
}

TEST(MidiFileErrors, EveryTruncationIsRefusedOrPlayedWithARepairNoted) {
  const std::vector<uint8_t> whole = TwoTrackSong();
  for (size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    const std::string outcome = OutcomeOf({whole.begin(), whole.begin() + long(size)});
    EXPECT_NE(outcome, "whole");
    // Once the first track is whole the file plays.
    if (size >= 14 + 8 + 11) {
      EXPECT_THAT(outcome, HasSubstr("repaired:"));
    }
  }
}

TEST(MidiFileErrors, TruncationsSayWhatIsMissing) {
  const std::vector<uint8_t> whole = TwoTrackSong();
  const size_t first_track = 14, second_track = 14 + 8 + 11;
  struct Case {
    size_t size;
    const char* outcome;
  } cases[] = {
      {0, "refused: ファイルが空です"},
      {4,
       "refused: ファイルが途中で切れています: チャンクの見出しが 8 バイトに足りません (位置 0)"},
      {8, "チャンクの長さ 6 がファイルの残り 0 バイトを超えています (位置 4)"},
      {first_track, "refused: トラックがありません (位置 14)"},
      {first_track + 8, "refused: トラック 1: トラックの終わり (FF 2F) がありません (位置 22)"},
      {first_track + 12,
       "refused: トラック 1: 長さ 3 がトラックの残り 0 バイトを超えています (位置 26)"},
      {second_track, "repaired: トラックが 1 個しかありません (ヘッダーでは 2 個)"},
      {second_track + 8, "repaired: ファイルが途中で切れています: チャンクの長さ "},
      {whole.size() - 1, "トラック 2: トラックの終わり (FF 2F) の前にデータが尽きました"},
  };
  ASSERT_EQ(whole[second_track], 'M');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    EXPECT_THAT(OutcomeOf({whole.begin(), whole.begin() + long(c.size)}), HasSubstr(c.outcome));
  }
}

TEST(MidiFileErrors, MalformedFilesAreRefusedOrRepairedWithTheReasonAndPlace) {
  std::vector<uint8_t> long_track = TwoTrackSong();
  long_track[14 + 7] += 1;  // the first track claims one byte more than it holds
  std::vector<uint8_t> short_track = TwoTrackSong();
  short_track[14 + 7] -= 1;  // its end of track loses its length byte
  std::vector<uint8_t> short_header = WithHeader(0, 1, 96);
  short_header[7] = 5;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* outcome;
  } cases[] = {
      {"garbage", {'R', 'I', 'F', 'F', 1, 2, 3, 4, 5, 6}, "refused: MIDI ファイルではありません"},
      {"a text file", {'h', 'e', 'l', 'l', 'o', '\n'}, "refused: MIDI ファイルではありません"},
      {"a RIFF file that is not RMID",
       {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
       "refused: RIFF ファイルですが RMID (MIDI) ではありません"},
      {"a header chunk too short", short_header,
       "refused: ヘッダーの長さ 5 が 6 バイトに足りません"},
      {"a track longer than the file", long_track,
       "repaired: チャンクの長さが合いません: 次のトラックを (位置 33) から読みます |"},
      {"a track shorter than its events", short_track,
       "repaired: トラック 1: トラックの終わり (FF 2F) の前にデータが尽きました (位置 32) | "
       "読めないデータ 1 バイトを飛ばしました (位置 32) |"},
      {"SMPTE time", WithHeader(1, 1, 0xE728),
       "refused: SMPTE 時間の MIDI ファイルは再生できません (位置 12)"},
      {"format 2", WithHeader(2, 2, 96), "refused: 形式 2 の MIDI ファイルは再生できません"},
      {"format 3", WithHeader(3, 1, 96), "refused: 形式 3 は MIDI ファイルの形式ではありません"},
      {"format 0 with two tracks", WithHeader(0, 2, 96),
       "refused: 形式 0 なのにトラック数が 2 です"},
      {"no tracks", WithHeader(1, 0, 96), "refused: トラックがありません"},
      {"division 0", WithHeader(0, 1, 0), "refused: 分解能が 0 です"},
      {"a data byte without status", WithTrack({0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}),
       "refused: トラック 1: ステータスのないデータバイト 0x3C です (位置 23)"},
      {"a status byte inside a note", WithTrack({0x00, 0x90, 0x3C, 0x90}),
       "refused: トラック 1: データバイト 0x90 が 0x80 以上です (位置 25)"},
      {"a five-byte delta time", WithTrack({0x81, 0x81, 0x81, 0x81, 0x01}),
       "refused: トラック 1: 可変長の数値が 4 バイトを超えています (位置 22)"},
      {"a meta event longer than its track", WithTrack({0x00, 0xFF, 0x01, 0x10, 'a'}),
       "refused: トラック 1: 長さ 16 がトラックの残り 1 バイトを超えています (位置 26)"},
      {"a tempo of two bytes", WithTrack({0x00, 0xFF, 0x51, 0x02, 1, 2, 0x00, 0xFF, 0x2F, 0x00}),
       "refused: トラック 1: テンポの長さが 3 ではなく 2 です"},
      {"a tempo of zero", WithTrack({0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x2F, 0x00}),
       "refused: トラック 1: テンポが 0 です"},
      {"a system common status", WithTrack({0x00, 0xF4, 0x00, 0xFF, 0x2F, 0x00}),
       "refused: トラック 1: 不明なステータス 0xF4 です"},
      {"no end of track", WithTrack({0x00, 0x90, 0x3C, 0x40}),
       "repaired: トラック 1: トラックの終わり (FF 2F) がありません (位置 26) |"},
      {"a sysex cancels running status",
       WithTrack({0x00, 0x90, 0x3C, 0x40, 0x00, 0xF0, 0x01, 0xF7, 0x00, 0x3C, 0x00}),
       "repaired: トラック 1: ステータスのないデータバイト 0x3C です"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(OutcomeOf(c.bytes), HasSubstr(c.outcome));
  }
}

TEST(MidiFileErrors, KeepsTheTickLimitAndRefusesSongsTooLongInSixteenths) {
  // A tempo of 1 microsecond per quarter keeps these songs within the playing time limit.
  TrackBuilder far;
  far.Tempo(0, 1);
  for (int i = 0; i < 9; ++i) far.Meta(0x0FFFFFFF, 0x01, "");
  // The events before the limit play; nothing beyond it is read.
  EXPECT_THAT(OutcomeOf(BuildSmf(0, 96, {far.End()})),
              HasSubstr("repaired: トラック 1: 時刻が大きすぎます"));
  TrackBuilder long_song;
  long_song.Tempo(0, 1);
  for (int i = 0; i < 7; ++i) long_song.Meta(0x0FFFFFFF, 0x01, "");
  EXPECT_THAT(OutcomeOf(BuildSmf(0, 1, {long_song.End()})), HasSubstr("refused: 曲が長すぎます"));
}

class MidiFileOnDisk : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return temp_.Write(name, bytes);
  }
  std::string ErrorOfFile(const std::string& path) {
    try {
      ReadMidiFile(path);
    } catch (const MidiFileError& error) {
      return error.what();
    }
    return "(accepted)";
  }

  TempFolder temp_{"vwrd-midi"};
  const std::filesystem::path& folder_ = temp_.Path();
};

TEST_F(MidiFileOnDisk, ReadsAFileAtAUtf8Path) {
  EXPECT_EQ(ReadMidiFile(Write("曲.mid", TwoTrackSong())).length_sixteenths, 4);
}

TEST_F(MidiFileOnDisk, RefusesAFolderAnEmptyFileAndAMissingFile) {
  std::filesystem::create_directory(folder_ / "song.mid");
  EXPECT_EQ(ErrorOfFile((folder_ / "song.mid").string()), "フォルダーです");
  EXPECT_EQ(ErrorOfFile(Write("empty.mid", {})), "ファイルが空です");
  EXPECT_THAT(ErrorOfFile((folder_ / "missing.mid").string()), HasSubstr("ファイルがありません"));
}

TEST_F(MidiFileOnDisk, RefusesAFileLargerThanTheLimit) {
  const std::string path = Write("big.mid", TwoTrackSong());
  std::filesystem::resize_file(path, kMaxMidiFileSize + 1);
  EXPECT_THAT(ErrorOfFile(path), HasSubstr("ファイルが大きすぎます"));
}

}  // namespace
