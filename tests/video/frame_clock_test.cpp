#include "video/frame_clock.h"

#include <gtest/gtest.h>

namespace {

// 120 BPM for the first two quarter notes (one second), then 240 BPM; 96 ticks a quarter.
TempoMap TwoTempos() { return TempoMap(96, {{0, 500000}, {192, 250000}}); }

struct FrameCase {
  int fps;
  int64_t frame;
  int64_t micros;
  int64_t wrd_tick;
};

class FrameClockCases : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameClockCases, AFrameShowsTheWrdTickOfItsSongTime) {
  const TempoMap tempo = TwoTempos();
  const FrameClock clock(tempo, GetParam().fps);
  EXPECT_EQ(clock.MicrosOfFrame(GetParam().frame), GetParam().micros);
  EXPECT_EQ(clock.WrdTickOfFrame(GetParam().frame), GetParam().wrd_tick);
}

INSTANTIATE_TEST_SUITE_P(
    ThroughATempoChange, FrameClockCases,
    testing::Values(FrameCase{30, 0, 0, 0}, FrameCase{30, 1, 33334, 3},  // MIDI tick 6.4
                    FrameCase{30, 15, 500000, 48},                       // a quarter note
                    FrameCase{30, 30, 1000000, 96},                      // the change
                    FrameCase{30, 31, 1033334, 102},  // MIDI tick 192 + 12.8, twice as fast
                    FrameCase{30, 45, 1500000, 192},  // two quarters in half a second
                    FrameCase{30, 20, 666667, 64},    // exactly MIDI tick 128
                    FrameCase{30, 36, 1200000, 134},  // MIDI tick 192 + 76.8
                    FrameCase{60, 90, 1500000, 192},
                    FrameCase{24, 25, 1041667, 104}));  // exactly MIDI tick 208

TEST(FrameClock, TheFpsStaysInRange) {
  const TempoMap tempo = TwoTempos();
  EXPECT_EQ(FrameClock(tempo, 0).Fps(), FrameClock::kMinFps);
  EXPECT_EQ(FrameClock(tempo, 1000).Fps(), FrameClock::kMaxFps);
}

}  // namespace
