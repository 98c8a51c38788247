#include "song/wrd_time.h"

#include <gtest/gtest.h>

namespace {

TEST(WrdTime, FollowsTheMidiTicksAcrossTempoChanges) {
  // 60 BPM, at beat 1 240 BPM, at beat 3 120 BPM.
  const TempoMap map(480, {{0, 1000000}, {480, 250000}, {1440, 500000}});
  struct {
    int64_t micros, tick, wrd;
  } cases[] = {{-5, 0, 0},          {0, 0, 0},          {20832, 9, 0},      {20834, 10, 1},
               {500000, 240, 24},   {1000000, 480, 48}, {1250000, 960, 96}, {1500000, 1440, 144},
               {2000000, 1920, 192}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.micros);
    EXPECT_EQ(map.TickAtMicros(c.micros), c.tick);
    EXPECT_EQ(WrdTickAtMicros(map, c.micros), c.wrd);
  }
  EXPECT_EQ(map.Division(), 480);
}

TEST(WrdTime, ASixteenthIsTwelveTicksAtAnyDivision) {
  for (int64_t division : {24, 96, 480, 960}) {
    const TempoMap map(division, {{0, 432123}});
    for (int64_t sixteenth : {0, 1, 7, 1000}) {
      EXPECT_EQ(WrdTickAtMicros(map, map.MicrosAtSixteenth(sixteenth)), sixteenth * 12);
    }
  }
}

}  // namespace
