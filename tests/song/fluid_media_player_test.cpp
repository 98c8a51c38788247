#include "song/fluid_media_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "fake_time_source.h"
#include "recording_sink.h"
#include "smf_builder.h"
#include "tests/support/temp_folder.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int64_t kSixteenth = 125000;  // microseconds at 120 BPM

class PlayerTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return temp_.Write(name, bytes);
  }
  // 16 sixteenths at 120 BPM, division 96: a program change, a volume, a pitch bend and a
  // note at the start, a new program and a note at beat 2.
  std::string Song() {
    return Write("song.mid", BuildSmf(0, 96,
                                      {TrackBuilder()
                                           .Raw(0, {0xC0, 5})
                                           .Raw(0, {0xB0, 7, 100})
                                           .Raw(0, {0xE0, 0, 80})
                                           .Raw(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7})
                                           .Note(0, 0, 60, 96)
                                           .Raw(0, {0xC0, 9})
                                           .Note(0, 0, 64, 96)
                                           .End(192)}));
  }

  std::shared_ptr<FakeTimeSource> time_ = std::make_shared<FakeTimeSource>();
  TempFolder temp_{"vwrd-player"};
  const std::filesystem::path& folder_ = temp_.Path();
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const MediaError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST_F(PlayerTest, WithoutASongPlayStopSeekAndResumeHaveNoDevice) {
  FluidMediaPlayer player(time_, nullptr);
  EXPECT_FALSE(player.HasDevice());
  EXPECT_EQ(ErrorOf([&] { player.Play(); }), "MCI ﾃﾞﾊﾞｲｽがありません");
  EXPECT_EQ(ErrorOf([&] { player.Stop(); }), "MCI ﾃﾞﾊﾞｲｽがありません");
  EXPECT_EQ(ErrorOf([&] { player.Seek(3); }), "MCI ﾃﾞﾊﾞｲｽがありません");
  EXPECT_EQ(ErrorOf([&] { player.Resume(); }), "MCI ﾃﾞﾊﾞｲｽがありません");
  EXPECT_EQ(player.Length(), 0);
  EXPECT_EQ(player.Position(), 0);
  EXPECT_FALSE(player.IsPlaying());
  player.Close();
}

TEST_F(PlayerTest, OpeningABadFileFirstGivesTheReason) {
  FluidMediaPlayer player(time_, nullptr);
  const std::string path = Write("bad.mid", {'M', 'T', 'h', 'd', 0, 0});
  EXPECT_THAT(ErrorOf([&] { player.Open(path); }), HasSubstr("ファイルが途中で切れています"));
  EXPECT_FALSE(player.HasDevice());
}

TEST_F(PlayerTest, AFailedOpenKeepsThePreviousSongPlaying) {
  FluidMediaPlayer player(time_, nullptr);
  player.Open(Song());
  player.Play();
  time_->Advance(3 * kSixteenth);
  EXPECT_THAT(ErrorOf([&] { player.Open((folder_ / "missing.mid").string()); }),
              HasSubstr("ファイルがありません"));
  EXPECT_EQ(ErrorOf([&] { player.Open(folder_.string()); }), "フォルダーです");
  EXPECT_TRUE(player.HasDevice());
  EXPECT_EQ(player.Length(), 16);
  EXPECT_TRUE(player.IsPlaying());
  time_->Advance(kSixteenth);
  EXPECT_EQ(player.Position(), 4);
}

TEST_F(PlayerTest, OpenReplacesTheSongStoppedAtTheStart) {
  FluidMediaPlayer player(time_, nullptr);
  player.Open(Song());
  player.Play();
  time_->Advance(3 * kSixteenth);
  player.Open(Write("other.mid", BuildSmf(0, 480, {TrackBuilder().End(480 * 10)})));
  EXPECT_EQ(player.Length(), 40);
  EXPECT_EQ(player.Position(), 0);
  EXPECT_FALSE(player.IsPlaying());
}

TEST_F(PlayerTest, PlaysStopsSeeksAndResumesOnTheClock) {
  FluidMediaPlayer player(time_, nullptr);
  player.Open(Song());
  EXPECT_EQ(player.Length(), 16);
  player.Play();
  time_->Advance(2 * kSixteenth);
  EXPECT_EQ(player.Position(), 2);
  player.Stop();
  time_->Advance(kSixteenth);
  EXPECT_EQ(player.Position(), 2);
  player.Seek(10);
  EXPECT_FALSE(player.IsPlaying());
  player.Resume();
  time_->Advance(kSixteenth);
  EXPECT_EQ(player.Position(), 11);
  player.Seek(100);
  EXPECT_EQ(player.Position(), 16);
  EXPECT_FALSE(player.IsPlaying());
  player.Play();  // at the end: from the start again
  EXPECT_EQ(player.Position(), 0);
  EXPECT_TRUE(player.IsPlaying());
  player.Close();
  EXPECT_FALSE(player.HasDevice());
  EXPECT_EQ(ErrorOf([&] { player.Play(); }), "MCI ﾃﾞﾊﾞｲｽがありません");
}

TEST_F(PlayerTest, TheSoundNoticeIsGivenOnce) {
  FluidMediaPlayer player(time_, nullptr, "音なし");
  EXPECT_EQ(player.TakeSoundNotice(), "音なし");
  EXPECT_EQ(player.TakeSoundNotice(), "");
}

TEST_F(PlayerTest, EventsReachTheSinkInTime) {
  auto log = std::make_shared<SinkLog>();
  FluidMediaPlayer player(time_, std::make_unique<RecordingSink>(log));
  player.Open(Song());
  player.Play();
  ASSERT_TRUE(log->WaitFor("90 3C 64"));
  time_->Advance(4 * kSixteenth);
  ASSERT_TRUE(log->WaitFor("90 40 64"));
  player.Stop();
  EXPECT_THAT(log->Lines(),
              ElementsAre("sounds off", "reset", "C0 05 00", "B0 07 64", "E0 00 50", "sysex 7E7F",
                          "90 3C 64", "80 3C 00", "C0 09 00", "90 40 64", "sounds off"));
}

TEST_F(PlayerTest, SeekingRestoresProgramControllerAndPitchBendAtTheTarget) {
  auto log = std::make_shared<SinkLog>();
  FluidMediaPlayer player(time_, std::make_unique<RecordingSink>(log));
  player.Open(Song());
  player.Seek(6);
  player.Play();
  ASSERT_TRUE(log->WaitFor("C0 09 00"));
  player.Stop();
  // Notes before the target do not sound again, not even the one still held there.
  EXPECT_THAT(log->Lines(), ElementsAre("sounds off", "reset", "C0 05 00", "B0 07 64", "E0 00 50",
                                        "sysex 7E7F", "C0 09 00", "sounds off"));
}

TEST_F(PlayerTest, SeekingOntoANotePlaysIt) {
  auto log = std::make_shared<SinkLog>();
  FluidMediaPlayer player(time_, std::make_unique<RecordingSink>(log));
  player.Open(Song());
  player.Play();
  player.Seek(4);
  ASSERT_TRUE(log->WaitFor("90 40 64"));
  player.Stop();
}

TEST_F(PlayerTest, TheSongEndReleasesItsNotes) {
  auto log = std::make_shared<SinkLog>();
  FluidMediaPlayer player(time_, std::make_unique<RecordingSink>(log));
  player.Open(Song());
  player.Play();
  time_->Advance(16 * kSixteenth);
  ASSERT_TRUE(log->WaitFor("notes off"));
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.Position(), 16);
  player.Play();
  EXPECT_EQ(player.Position(), 0);
  EXPECT_TRUE(player.IsPlaying());
}

}  // namespace
