// A short project exported as the tool and the window export it, read back with FFmpeg.
#include "video/show_video.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mp4_reading.h"
#include "short_project.h"
#include "showmodel/show_model.h"
#include "video/video_error.h"

namespace {

class ShowVideo : public testing::Test {
 protected:
  TempFolder folder;
  std::unique_ptr<EventTable> table = ShortProject(folder);
};

TEST_F(ShowVideo, AFrameOfTheVideoIsTheShowWindowsScreenAtItsTick) {
  const std::string path = DefaultVideoPath(*table);
  EXPECT_EQ(path, folder / "song.mp4");
  ExportShowVideo(*table, path, {});

  // Frame 36: 1.2 s, WRD tick 134 (as the frame clock's table has it), after the picture's fade
  // and the lyric.
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

TEST_F(ShowVideo, ASongThatCannotBeReadGivesTheReasonAndNoFile) {
  folder.Write("song.mid", {'M', 'T', 'h', 'd'});
  EXPECT_THAT(
      [&] { ExportShowVideo(*table, DefaultVideoPath(*table), {}); },
      testing::ThrowsMessage<VideoError>(testing::StartsWith("MIDIファイルを読めません: ")));
  EXPECT_FALSE(std::filesystem::exists(folder / "song.mp4"));
}

TEST_F(ShowVideo, TheSongIsNeverTheOutput) {
  EXPECT_THROW(ExportShowVideo(*table, folder / "song.mid", {}), VideoError);
  EXPECT_EQ(folder.Names().size(), 2u);  // the song and the picture, untouched
}

}  // namespace
