// A short project exported as the tool and the window export it, read back with FFmpeg.
#include "video/show_video.h"

#include <gtest/gtest.h>

#include <memory>

#include "build/test_bmp_writer.h"
#include "document/names.h"
#include "mp4_reading.h"
#include "playback/smf_builder.h"
#include "playback/wrd_time.h"
#include "show/model/show_model.h"
#include "support/temp_folder.h"
#include "video/frame_clock.h"
#include "video/video_error.h"

namespace {

// Two seconds at 120 BPM, then 240 BPM; a picture of coloured bands from the second sixteenth,
// a lyric line from the fourth.
std::unique_ptr<EventTable> ShortProject(const TempFolder& folder) {
  TrackBuilder melody;
  melody.Raw(0, {0xC0, 0}).Note(0, 0, 60, 192).Note(0, 0, 64, 192).End();
  folder.Write(
      "song.mid",
      BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).Tempo(192, 250000).End(384), melody}));
  test_bmp::WriteFile(folder.Path() / "bands.bmp",
                      test_bmp::Bmp8(
                          640, 480, [](int x, int y) { return uint8_t((x / 40 + y / 60) % 8); },
                          [](int i) { return uint32_t(i * 0x1F3D5B) & 0xFFFFFF; }));
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder / "song.mid");
  EventItem& bands = table->events[0];
  bands.Mark = "bands";
  bands.Count = 2;
  bands.Picture = "bands.bmp";
  EventItem& words = table->events[1];
  words.Mark = "words";
  words.Count = 4;
  words.Lyrics = "Hello";
  words.X1 = 20;
  words.Y1 = 400;
  words.X2 = 620;
  words.Color = 0x00FFFFFF;
  table->EventCount = 2;
  return table;
}

TEST(ShowVideo, AFrameOfTheVideoIsTheShowWindowsScreenAtItsTick) {
  TempFolder folder;
  const auto table = ShortProject(folder);
  const std::string path = DefaultVideoPath(*table);
  EXPECT_EQ(path, folder / "song.mp4");
  ExportShowVideo(*table, path, {});

  // Frame 36: 1.2 s, song tick 192 + 76.8 through the tempo change, WRD tick 134, after the
  // picture's fade and the lyric.
  const TempoMap tempo(96, {{0, 500000}, {192, 250000}});
  const FrameClock clock(tempo, 30);
  ASSERT_EQ(clock.WrdTickOfFrame(36), 134);
  const Mp4Contents video = ReadMp4(path, 36);
  EXPECT_GT(video.duration_seconds, 1.5);  // 1 s at 120 BPM and 0.5 s at 240 BPM
  EXPECT_LT(video.duration_seconds, 4.6);
  EXPECT_GT(video.audio_peak, 0.01f);

  ShowModel model;
  model.Update(*table);
  std::vector<uint8_t> expected(640 * 480 * 3);
  model.ScreenAt(134).ToRgb(expected.data());
  ASSERT_EQ(video.rgb.size(), expected.size());
  int64_t error = 0, brightness = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    error += std::abs(video.rgb[i] - expected[i]);
    brightness += expected[i];
  }
  EXPECT_GT(brightness / int64_t(expected.size()), 20);  // the picture, not a black screen
  EXPECT_LT(double(error) / expected.size(), 5.0);
}

TEST(ShowVideo, ASongThatCannotBeReadGivesTheReasonAndNoFile) {
  TempFolder folder;
  const auto table = ShortProject(folder);
  folder.Write("song.mid", {'M', 'T', 'h', 'd'});
  try {
    ExportShowVideo(*table, DefaultVideoPath(*table), {});
    FAIL();
  } catch (const VideoError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("MIDIファイルを読めません: "))
        << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "song.mp4"));
}

TEST(ShowVideo, TheSongIsNeverTheOutput) {
  TempFolder folder;
  const auto table = ShortProject(folder);
  EXPECT_THROW(ExportShowVideo(*table, folder / "song.mid", {}), VideoError);
  EXPECT_EQ(folder.Names().size(), 2u);  // the song and the picture, untouched
}

}  // namespace
