// The song transport with the scripted player: rewinding, taps, bars and beats, the loop.
#include "transport/song_transport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "song/midi_song.h"
#include "support/scripted_media_player.h"

namespace {

constexpr int64_t kSixteenth = 125000;  // microseconds at 120 BPM

class SongTransportTest : public testing::Test {
 protected:
  void SetUp() override {
    player.lengths["song.mid"] = 640;
    player.Open("song.mid");
    player.calls.clear();
  }
  // Events (table order) at these times.
  void Events(std::initializer_list<int32_t> counts) {
    table.EventCount = 0;
    for (int32_t count : counts) table.events[table.EventCount++].Count = count;
  }

  ScriptedMediaPlayer player;
  SongTransport transport{player};
  EventTable table;
};

TEST_F(SongTransportTest, RewindSeeksToZeroAndPlaysOnOnlyIfPlaying) {
  for (bool playing : {false, true}) {
    SCOPED_TRACE(playing);
    player.calls.clear();
    player.playing = playing;
    player.position = 200;
    transport.Seek(0);
    EXPECT_EQ(player.calls, playing ? (std::vector<std::string>{"Seek 0", "Resume"})
                                    : std::vector<std::string>{"Seek 0"});
    EXPECT_EQ(player.playing, playing);
    EXPECT_EQ(player.position, 0);
  }
}

TEST_F(SongTransportTest, ATapSnapsToANoteStartOfTheChosenChannel) {
  player.song->events.push_back({.tick = 100, .status = 0x92, .data1 = 60, .data2 = 90});
  player.song_micros = 6 * kSixteenth;
  EXPECT_EQ(transport.Tap({.reaction_delay_ms = 0, .snap_channel = 3}), 4);
  EXPECT_EQ(transport.Tap({.reaction_delay_ms = 0, .snap_channel = 0}), 6);
}

TEST_F(SongTransportTest, BarAndBeatFollowTheTimeSignatures) {
  player.song->meter = Meter(96, {{0, 3, 4}, {24 * 24, 6, 8}});
  struct Case {
    int32_t position;
    const char* text;
  } cases[] = {{31, "31 (3:4)"}, {38, "38 (4:2)"}};  // the meter's own rule is tested with it
  for (const Case& c : cases) {
    EXPECT_EQ(transport.CounterText(c.position), c.text);
  }
}

TEST_F(SongTransportTest, TheLoopRunsFromTheSelectedEventToTheNextInTime) {
  Events({16, 96, 48, 16});
  player.playing = true;
  ASSERT_TRUE(transport.StartLoop(table, 0, 16));
  EXPECT_EQ(player.calls, (std::vector<std::string>{"Loop 16 48", "Seek 16", "Resume"}));
  EXPECT_TRUE(transport.CounterText(16).ends_with("ループ"));
  player.calls.clear();
  transport.EndLoop();
  EXPECT_EQ(player.calls, std::vector<std::string>{"Loop 0 0"});
  // The last event in time loops to the end of the song.
  ASSERT_TRUE(transport.StartLoop(table, 1, 96));
  EXPECT_EQ(player.calls[1], "Loop 96 640");
}

}  // namespace
