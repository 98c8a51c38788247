#include "song/song_clock.h"

#include <gtest/gtest.h>

#include "fake_time_source.h"

namespace {

constexpr int64_t kSixteenthAt120 = 125000;  // microseconds

class SongClockTest : public ::testing::Test {
 protected:
  // 120 BPM throughout, 64 sixteenths long.
  SongClock Steady() { return SongClock(time_, TempoMap(96, {}), 64); }

  std::shared_ptr<FakeTimeSource> time_ = std::make_shared<FakeTimeSource>();
};

TEST_F(SongClockTest, StartsStoppedAtTheStart) {
  SongClock clock = Steady();
  time_->Advance(10 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 0);
  EXPECT_FALSE(clock.IsPlaying());
}

TEST_F(SongClockTest, PositionFollowsTheTimeWhilePlaying) {
  SongClock clock = Steady();
  clock.Play();
  EXPECT_TRUE(clock.IsPlaying());
  time_->Advance(kSixteenthAt120 - 1);
  EXPECT_EQ(clock.Position(), 0);
  time_->Advance(1);
  EXPECT_EQ(clock.Position(), 1);
  time_->Advance(2000000);  // two seconds: four beats
  EXPECT_EQ(clock.Position(), 17);
}

TEST_F(SongClockTest, PositionFollowsTempoChanges) {
  // 60 BPM for the first quarter note (one second), then 240 BPM.
  SongClock clock(time_, TempoMap(480, {{0, 1000000}, {480, 250000}}), 64);
  clock.Play();
  time_->Advance(500000);
  EXPECT_EQ(clock.Position(), 2);
  time_->Advance(500000);
  EXPECT_EQ(clock.Position(), 4);
  time_->Advance(250000);  // one quarter note at 240 BPM
  EXPECT_EQ(clock.Position(), 8);
}

TEST_F(SongClockTest, StopKeepsThePosition) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(5 * kSixteenthAt120);
  clock.Stop();
  time_->Advance(10 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 5);
  EXPECT_FALSE(clock.IsPlaying());
}

TEST_F(SongClockTest, PlayingOnAfterAStopContinuesFromTheExactTime) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(kSixteenthAt120 + kSixteenthAt120 / 2);
  clock.Stop();
  EXPECT_EQ(clock.Position(), 1);
  time_->Advance(1000000);
  clock.Play();
  time_->Advance(kSixteenthAt120 / 2);
  EXPECT_EQ(clock.Position(), 2);
}

TEST_F(SongClockTest, SeekWhileStoppedMovesThereAndStaysStopped) {
  SongClock clock = Steady();
  clock.Seek(40);
  time_->Advance(kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 40);
  EXPECT_FALSE(clock.IsPlaying());
  clock.Play();
  time_->Advance(kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 41);
}

TEST_F(SongClockTest, SeekWhilePlayingPlaysOnFromThere) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(30 * kSixteenthAt120);
  clock.Seek(3);
  EXPECT_EQ(clock.Position(), 3);
  EXPECT_TRUE(clock.IsPlaying());
  time_->Advance(2 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 5);
}

TEST_F(SongClockTest, SeekIsClampedToTheSong) {
  SongClock clock = Steady();
  clock.Seek(-5);
  EXPECT_EQ(clock.Position(), 0);
  clock.Seek(1000);
  EXPECT_EQ(clock.Position(), 64);
}

TEST_F(SongClockTest, SeekLandsOnTheSixteenthAtAwkwardTempos) {
  // 7 microseconds per tick at division 480: times of sixteenths are not whole microseconds.
  SongClock clock(time_, TempoMap(480, {{0, 3333333}, {7, 123457}}), 5000);
  for (int32_t position : {0, 1, 2, 3, 17, 999, 4999}) {
    clock.Seek(position);
    EXPECT_EQ(clock.Position(), position);
    clock.Play();
    EXPECT_EQ(clock.Position(), position);
    clock.Stop();
  }
}

TEST_F(SongClockTest, TheEndClampsThePositionAndStopsPlaying) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(64 * kSixteenthAt120 - 1);
  EXPECT_EQ(clock.Position(), 63);
  EXPECT_TRUE(clock.IsPlaying());
  time_->Advance(1);
  EXPECT_EQ(clock.Position(), 64);
  EXPECT_FALSE(clock.IsPlaying());
  time_->Advance(100 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 64);
  EXPECT_FALSE(clock.IsPlaying());
}

TEST_F(SongClockTest, PlayAtTheEndRewindsFirst) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(100 * kSixteenthAt120);
  clock.Play();
  EXPECT_EQ(clock.Position(), 0);
  EXPECT_TRUE(clock.IsPlaying());
  time_->Advance(kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 1);

  clock.Stop();
  clock.Seek(64);
  clock.Play();
  EXPECT_EQ(clock.Position(), 0);
}

TEST_F(SongClockTest, SeekAfterTheSongEndedStaysStopped) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(100 * kSixteenthAt120);
  clock.Seek(10);
  time_->Advance(kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 10);
  EXPECT_FALSE(clock.IsPlaying());
}

TEST_F(SongClockTest, PositionNeverRunsBackwardsWhenTheTimeSourceStepsBack) {
  SongClock clock = Steady();
  clock.Play();
  time_->Advance(10 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 10);
  time_->Advance(-5 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 10);
  time_->Advance(6 * kSixteenthAt120);
  EXPECT_EQ(clock.Position(), 11);
}

TEST_F(SongClockTest, AnEmptySongNeverPlays) {
  SongClock clock(time_, TempoMap(96, {}), 0);
  clock.Play();
  EXPECT_FALSE(clock.IsPlaying());
  EXPECT_EQ(clock.Position(), 0);
}

}  // namespace
