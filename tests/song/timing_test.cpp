// Speed, loops and the heard position on the song clock and the player; where taps land;
// bars and beats; the calibration's delay.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_time_source.h"
#include "recording_sink.h"
#include "smf_builder.h"
#include "song/calibration.h"
#include "song/fluid_media_player.h"
#include "song/meter.h"
#include "song/song_clock.h"
#include "song/tap_position.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int64_t kSixteenth = 125000;  // microseconds at 120 BPM

class TimingClockTest : public ::testing::Test {
 protected:
  // A player on a song with a note at 0 and one at 8 sixteenths, 16 sixteenths long.
  std::unique_ptr<FluidMediaPlayer> LoopPlayer(std::shared_ptr<SinkLog> log, int64_t latency) {
    auto player = std::make_unique<FluidMediaPlayer>(
        time_, std::make_unique<RecordingSink>(std::move(log), latency));
    player->Open(temp_.Write(
        "loop.mid",
        BuildSmf(0, 96, {TrackBuilder().Note(0, 0, 60, 24).Note(168, 0, 64, 24).End(360)})));
    return player;
  }

  std::shared_ptr<FakeTimeSource> time_ = std::make_shared<FakeTimeSource>();
  TempFolder temp_{"vwrd-timing"};
};

TEST_F(TimingClockTest, SpeedsKeepSongTime) {
  struct Case {
    int speed;
    int64_t real;      // microseconds played
    int32_t position;  // sixteenths reached
  } cases[] = {{100, 2000000, 16}, {75, 2000000, 12},           {50, 2000000, 8},
               {25, 2000000, 4},   {50, 2 * kSixteenth - 1, 0}, {50, 2 * kSixteenth, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    SongClock clock(time_, TempoMap(96, {}), 64);
    clock.SetSpeed(c.speed);
    clock.Play();
    time_->Advance(c.real);
    EXPECT_EQ(clock.Position(), c.position);
    EXPECT_EQ(clock.SongMicros(), c.real * c.speed / 100);
  }
}

TEST_F(TimingClockTest, ASpeedChangeWhilePlayingGoesOnFromWhereTheSongIs) {
  SongClock clock(time_, TempoMap(96, {}), 64);
  clock.Play();
  time_->Advance(8 * kSixteenth);
  clock.SetSpeed(50);
  EXPECT_EQ(clock.Position(), 8);
  time_->Advance(8 * kSixteenth);
  EXPECT_EQ(clock.Position(), 12);
  clock.SetSpeed(10);  // below the slowest: clamped
  EXPECT_EQ(clock.Speed(), 25);
}

TEST_F(TimingClockTest, LoopsWrapSeamlessly) {
  SongClock clock(time_, TempoMap(96, {}), 64);
  clock.SetLoop(8 * kSixteenth, 16 * kSixteenth);
  clock.Seek(10);
  clock.Play();
  const struct {
    int64_t advance;
    int32_t position;
  } steps[] = {{5 * kSixteenth, 15}, {kSixteenth, 8}, {3 * kSixteenth, 11}, {13 * kSixteenth, 8}};
  for (const auto& step : steps) {
    time_->Advance(step.advance);
    EXPECT_EQ(clock.Position(), step.position);
    EXPECT_TRUE(clock.IsPlaying());
  }
  clock.SetLoop(0, 0);
  time_->Advance(8 * kSixteenth);
  EXPECT_EQ(clock.Position(), 16);  // no loop: it plays past the old end
}

TEST_F(TimingClockTest, ThePositionIsTheOneHeardBehindTheOutputLatency) {
  SongClock clock(time_, TempoMap(96, {}), 64, 40000);
  clock.Play();
  time_->Advance(30000);  // nothing heard yet
  EXPECT_EQ(clock.SongMicros(), 0);
  time_->Advance(2 * kSixteenth + 10000);
  EXPECT_EQ(clock.SongMicros(), 2 * kSixteenth);
  EXPECT_EQ(clock.Position(), 2);
  clock.Stop();  // stopped where it was heard
  EXPECT_EQ(clock.SongMicros(), 2 * kSixteenth);
}

TEST_F(TimingClockTest, ThePlayerLoopsItsEventsAndReleasesNotesAtTheWrap) {
  auto log = std::make_shared<SinkLog>();
  const auto player = LoopPlayer(log, 0);
  player->SetLoop(0, 4);
  player->Play();
  ASSERT_TRUE(log->WaitFor("90 3C 64"));
  time_->Advance(5 * kSixteenth);  // past the loop's end: the note at 0 again
  auto notes_on = [&log] {
    int count = 0;
    for (const std::string& line : log->Lines()) count += line == "90 3C 64";
    return count;
  };
  for (int i = 0; i < 2000 && notes_on() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(notes_on(), 2);
  EXPECT_TRUE(log->Has("notes off"));
  EXPECT_FALSE(log->Has("90 40 64"));  // the note after the loop never plays
  EXPECT_EQ(player->Position(), 1);
}

TEST_F(TimingClockTest, ThePlayerTakesTheOutputLatencyOffItsPosition) {
  const auto player = LoopPlayer(std::make_shared<SinkLog>(), kSixteenth);
  player->SetSpeed(50);
  player->Play();
  time_->Advance(5 * kSixteenth);
  EXPECT_EQ(player->SongMicros(), 2 * kSixteenth);
  EXPECT_EQ(player->Position(), 2);
  EXPECT_EQ(player->Speed(), 50);
}

TEST(TapPosition, ATapLandsOnTheNearestSixteenthLessTheDelay) {
  const TempoMap tempo(96, {});
  struct Case {
    int64_t heard;
    int64_t delay;
    int speed;
    int64_t sixteenth;
  } cases[] = {
      {0, 0, 100, 0},           {62499, 0, 100, 0},        {62500, 0, 100, 1},
      {1000000, 0, 100, 8},     {1000000, 100000, 100, 7}, {1000000, 100000, 50, 8},
      {1000000, 200000, 25, 8}, {1000000, 300000, 100, 6}, {50000, 200000, 100, 0},
      {2000000, 0, 50, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heard);
    EXPECT_EQ(TapSixteenth(tempo, c.heard, {c.delay, c.speed, {}}), c.sixteenth);
  }
}

TEST(TapPosition, ATapSnapsToTheNearestNoteStartWithinAnEighth) {
  const TempoMap tempo(96, {});
  const std::vector<int64_t> notes = {100, 400};  // ticks: sixteenths 4.17 and 16.67
  struct Case {
    int64_t heard;
    int64_t sixteenth;
  } cases[] = {
      {4 * kSixteenth, 4},        // at the note
      {6 * kSixteenth, 4},        // a sixteenth and a bit after it: within an eighth
      {7 * kSixteenth, 7},        // too far from both
      {16 * kSixteenth, 17},      // the second note rounds to 17
      {18 * kSixteenth + 1, 17},  // within an eighth after the second note
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heard);
    EXPECT_EQ(TapSixteenth(tempo, c.heard, {0, 100, notes}), c.sixteenth);
  }
}

TEST(TapPosition, NoteStartsOfOneChannel) {
  const std::vector<uint8_t> bytes = BuildSmf(0, 96,
                                              {TrackBuilder()
                                                   .Note(0, 0, 60, 10)
                                                   .Note(5, 1, 62, 10)
                                                   .Raw(5, {0x90, 64, 0})
                                                   .Note(20, 0, 64, 10)
                                                   .End()});
  TempFolder temp("vwrd-timing");
  FluidMediaPlayer player(std::make_shared<FakeTimeSource>(), nullptr);
  player.Open(temp.Write("notes.mid", bytes));
  EXPECT_THAT(NoteStartTicks(*player.Song(), 0), ::testing::ElementsAre(0, 50));
  EXPECT_THAT(NoteStartTicks(*player.Song(), 1), ::testing::ElementsAre(15));
}

TEST(MeterTest, BarsAndBeatsFollowTheTimeSignatures) {
  // 4/4 for a bar, 3/4 for two bars, then 6/8; division 96 (a quarter is 96 ticks).
  const Meter meter(96, {{0, 4, 4}, {384, 3, 4}, {960, 6, 8}});
  struct Case {
    int64_t tick;
    int bar;
    int beat;
  } cases[] = {{0, 1, 1},   {96, 1, 2},  {383, 1, 4},  {384, 2, 1},  {480, 2, 2}, {672, 3, 1},
               {959, 3, 3}, {960, 4, 1}, {1008, 4, 2}, {1248, 5, 1}, {-5, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tick);
    const Meter::Beat beat = meter.At(c.tick);
    EXPECT_EQ(beat.bar, c.bar);
    EXPECT_EQ(beat.beat, c.beat);
  }
  // A change in the middle of a bar starts a new one; invalid signatures are skipped.
  const Meter cut(96, {{0, 3, 4}, {96, 2, 4}, {192, 0, 4}, {192, 4, 3}});
  EXPECT_EQ(cut.At(96).bar, 2);
  EXPECT_EQ(cut.At(288).bar, 3);
  EXPECT_EQ(cut.At(288).beat, 1);
  EXPECT_EQ(Meter().At(25 * 24).bar, 2);  // 4/4 without changes: sixteenth 25 is 2:3
  EXPECT_EQ(Meter().At(25 * 24).beat, 3);
}

TEST(MeterTest, BeatsListsEveryBeatStartInARange) {
  const Meter meter(96, {{0, 2, 4}, {144, 3, 8}});
  std::vector<std::string> beats;
  for (const Meter::Beat& b : meter.Beats(0, 300)) {
    beats.push_back(std::to_string(b.tick) + "=" + std::to_string(b.bar) + ":" +
                    std::to_string(b.beat));
  }
  EXPECT_THAT(
      beats, ::testing::ElementsAre("0=1:1", "96=1:2", "144=2:1", "192=2:2", "240=2:3", "288=3:1"));
}

TEST(CalibrationTest, TheMedianLatenessOfTapsMatchedToClicksIsTheDelay) {
  struct Case {
    const char* name;
    std::vector<int64_t> lateness;  // ms for click i; -1000: no tap
    std::optional<int> delay;
  } cases[] = {
      {"steady", {120, 130, 110, 125, 115, 140, 100, 120}, 120},
      {"an even count", {100, 110, 120, 130, -1000, -1000, -1000, -1000}, 115},
      {"early taps", {-20, -30, -10, -20, -20, -20, -20, -20}, -20},
      {"too few", {100, 100, 100, -1000, -1000, -1000, -1000, -1000}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Calibration calibration(500000);
    for (int i = 0; i < Calibration::kClicks; ++i) {
      calibration.Click(1000000 + i * 500000);
      if (c.lateness[i] != -1000) calibration.Tap(1000000 + i * 500000 + c.lateness[i] * 1000);
    }
    calibration.Tap(1000000 + 240000);  // a second tap for the first click: ignored
    EXPECT_EQ(calibration.DelayMs(), c.delay);
  }
}

}  // namespace
