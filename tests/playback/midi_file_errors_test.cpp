#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/playback/midi_file_reader.h"
#include "smf_builder.h"
#include "tests/support/temp_folder.h"

namespace {

using ::testing::HasSubstr;

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  try {
    ParseMidi(bytes);
  } catch (const MidiFileError& error) {
    return error.what();
  }
  return "(accepted)";
}

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

TEST(MidiFileErrors, EveryTruncationIsRefusedWithAMessage) {
  const std::vector<uint8_t> whole = TwoTrackSong();
  for (size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    const std::string message = ErrorOf(std::vector<uint8_t>(whole.begin(), whole.begin() + size));
    EXPECT_NE(message, "(accepted)");
    EXPECT_FALSE(message.empty());
  }
}

TEST(MidiFileErrors, TruncationsAtChunkBoundariesSayWhatIsMissing) {
  const std::vector<uint8_t> whole = TwoTrackSong();
  const size_t first_track = 14, second_track = 14 + 8 + 11;
  struct Case {
    size_t size;
    const char* message;
  } cases[] = {
      {0, "ファイルが空です"},
      {4, "チャンクの見出しが 8 バイトに足りません (位置 0)"},
      {8, "チャンクの長さ 6 がファイルの残り 0 バイトを超えています (位置 4)"},
      {first_track, "トラックが 0 個しかありません (ヘッダーでは 2 個) (位置 14)"},
      {first_track + 8, "チャンクの長さ 11 がファイルの残り 0 バイトを超えています (位置 18)"},
      {second_track, "トラックが 1 個しかありません (ヘッダーでは 2 個) (位置 33)"},
      {second_track + 8, "がファイルの残り 0 バイトを超えています (位置 37)"},
  };
  ASSERT_EQ(whole[second_track], 'M');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    EXPECT_THAT(ErrorOf(std::vector<uint8_t>(whole.begin(), whole.begin() + c.size)),
                HasSubstr(c.message));
  }
}

TEST(MidiFileErrors, MalformedFilesAreRefusedWithTheReasonAndPlace) {
  std::vector<uint8_t> long_track = TwoTrackSong();
  long_track[14 + 7] += 1;  // the first track claims one byte more than it holds
  std::vector<uint8_t> short_track = TwoTrackSong();
  short_track[14 + 7] -= 1;  // its end of track loses its length byte
  std::vector<uint8_t> short_header = WithHeader(0, 1, 96);
  short_header[7] = 5;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
  } cases[] = {
      {"garbage", {'R', 'I', 'F', 'F', 1, 2, 3, 4, 5, 6}, "MIDI ファイルではありません"},
      {"a text file", {'h', 'e', 'l', 'l', 'o', '\n'}, "MIDI ファイルではありません"},
      {"a header chunk too short", short_header, "ヘッダーの長さ 5 が 6 バイトに足りません"},
      {"a track longer than the file", long_track, "ファイルの残り"},
      {"a track shorter than its events", short_track, "データが尽きました"},
      {"SMPTE time", WithHeader(1, 1, 0xE728),
       "SMPTE 時間の MIDI ファイルは再生できません (位置 12)"},
      {"format 2", WithHeader(2, 2, 96), "形式 2 の MIDI ファイルは再生できません"},
      {"format 3", WithHeader(3, 1, 96), "形式 3 は MIDI ファイルの形式ではありません"},
      {"format 0 with two tracks", WithHeader(0, 2, 96), "形式 0 なのにトラック数が 2 です"},
      {"no tracks", WithHeader(1, 0, 96), "トラックがありません"},
      {"division 0", WithHeader(0, 1, 0), "分解能が 0 です"},
      {"a data byte without status", WithTrack({0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}),
       "トラック 1: ステータスのないデータバイト 0x3C です (位置 23)"},
      {"a status byte inside a note", WithTrack({0x00, 0x90, 0x3C, 0x90}),
       "トラック 1: データバイト 0x90 が 0x80 以上です (位置 25)"},
      {"a five-byte delta time", WithTrack({0x81, 0x81, 0x81, 0x81, 0x01}),
       "トラック 1: 可変長の数値が 4 バイトを超えています (位置 22)"},
      {"a meta event longer than its track", WithTrack({0x00, 0xFF, 0x01, 0x10, 'a'}),
       "トラック 1: 長さ 16 がトラックの残り 1 バイトを超えています (位置 26)"},
      {"a tempo of two bytes", WithTrack({0x00, 0xFF, 0x51, 0x02, 1, 2, 0x00, 0xFF, 0x2F, 0x00}),
       "テンポの長さが 3 ではなく 2 です"},
      {"a tempo of zero", WithTrack({0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x2F, 0x00}),
       "テンポが 0 です"},
      {"a system common status", WithTrack({0x00, 0xF4, 0x00, 0xFF, 0x2F, 0x00}),
       "不明なステータス 0xF4 です"},
      {"no end of track", WithTrack({0x00, 0x90, 0x3C, 0x40}),
       "トラックの終わり (FF 2F) がありません"},
      {"a sysex cancels running status",
       WithTrack({0x00, 0x90, 0x3C, 0x40, 0x00, 0xF0, 0x01, 0xF7, 0x00, 0x3C, 0x00}),
       "ステータスのないデータバイト"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(ErrorOf(c.bytes), HasSubstr(c.message));
  }
}

TEST(MidiFileErrors, RefusesTicksBeyondTheLimitAndSongsTooLongInSixteenths) {
  TrackBuilder far;
  for (int i = 0; i < 9; ++i) far.Meta(0x0FFFFFFF, 0x01, "");
  EXPECT_THAT(ErrorOf(BuildSmf(0, 96, {far.End()})), HasSubstr("時刻が大きすぎます"));
  TrackBuilder long_song;
  for (int i = 0; i < 7; ++i) long_song.Meta(0x0FFFFFFF, 0x01, "");
  EXPECT_THAT(ErrorOf(BuildSmf(0, 1, {long_song.End()})), HasSubstr("曲が長すぎます"));
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
