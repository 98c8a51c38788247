#include "song/tempo_map.h"

#include <gtest/gtest.h>

namespace {

TEST(TempoMap, WithoutChangesPlaysAt120Bpm) {
  const TempoMap map(96, {});
  EXPECT_EQ(map.MicrosAtTick(96), 500000);
  EXPECT_EQ(map.MicrosAtSixteenth(1), 125000);
  EXPECT_EQ(map.SixteenthAtMicros(124999), 0);
  EXPECT_EQ(map.SixteenthAtMicros(125000), 1);
  EXPECT_EQ(map.SixteenthAtMicros(-5), 0);
}

TEST(TempoMap, TimesAddUpAcrossTempoChanges) {
  // 60 BPM, at beat 1 240 BPM, at beat 3 120 BPM.
  const TempoMap map(480, {{0, 1000000}, {480, 250000}, {1440, 500000}});
  struct {
    int64_t tick, micros;
  } cases[] = {{0, 0},         {240, 500000},   {480, 1000000},
               {960, 1250000}, {1440, 1500000}, {1920, 2000000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tick);
    EXPECT_EQ(map.MicrosAtTick(c.tick), c.micros);
    EXPECT_EQ(map.SixteenthAtMicros(c.micros), c.tick * 4 / 480);
  }
}

TEST(TempoMap, TheLastChangeAtOneTickCounts) {
  const TempoMap map(96, {{0, 1000000}, {0, 250000}});
  EXPECT_EQ(map.MicrosAtTick(96), 250000);
}

TEST(TempoMap, TimesBetweenMicrosecondsRoundUpAndLeadBackToTheirSixteenth) {
  const TempoMap map(960, {{0, 333333}, {1, 700001}});
  for (int64_t sixteenth = 0; sixteenth < 2000; ++sixteenth) {
    ASSERT_EQ(map.SixteenthAtMicros(map.MicrosAtSixteenth(sixteenth)), sixteenth);
    ASSERT_EQ(map.SixteenthAtMicros(map.MicrosAtSixteenth(sixteenth) - 1),
              sixteenth - (sixteenth > 0));
    ASSERT_EQ(map.MicrosAtTick(sixteenth * 240), map.MicrosAtSixteenth(sixteenth));
  }
}

}  // namespace
