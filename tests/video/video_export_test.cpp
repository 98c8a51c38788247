#include "video/video_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <ext/stdio_filebuf.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "mp4_reading.h"
#include "song/midi_file_reader.h"
#include "song/smf_builder.h"
#include "support/temp_folder.h"
#include "video/mp4_writer.h"
#include "video/video_error.h"

namespace {

// One second of a piano note at 120 BPM, 96 ticks a quarter.
MidiSong OneSecondSong() {
  TrackBuilder melody;
  melody.Raw(0, {0xC0, 0}).Note(0, 0, 60, 192).End();
  return ParseMidi(BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End(192), melody}));
}

// Squares of 16 x 16 pixels whose colours change with the tick, so that a frame shows which
// tick it was made at.
class SquaresSource : public FrameSource {
 public:
  void Render(int64_t wrd_tick, uint8_t* rgb) override {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        uint8_t* pixel = rgb + (size_t(y) * kWidth + x) * 3;
        const int square = (x / 16 + y / 16) % 4;
        pixel[0] = uint8_t(square * 80);
        pixel[1] = uint8_t(wrd_tick * 2);
        pixel[2] = uint8_t(255 - square * 60);
      }
    }
    ticks.push_back(wrd_tick);
  }
  std::vector<int64_t> ticks;
};

class VideoExport : public testing::TestWithParam<int> {};

TEST_P(VideoExport, TheFileHoldsTheShowAndTheSongAsTheCoreMadeThem) {
  const int scale = GetParam();
  TempFolder folder;
  const MidiSong song = OneSecondSong();
  SquaresSource source;
  const std::string path = folder / "song.mp4";
  ExportVideo(song, source, path, {.fps = 30, .scale = scale});

  constexpr int kFrame = 20;  // 2/3 s: WRD tick 64
  const Mp4Contents video = ReadMp4(path, kFrame);
  EXPECT_EQ(video.video_codec, "h264");
  EXPECT_EQ(video.audio_codec, "aac");
  EXPECT_EQ(video.width, 640 * scale);
  EXPECT_EQ(video.height, 480 * scale);
  EXPECT_EQ(video.channels, 2);
  // The song, then a release tail of at most three seconds.
  EXPECT_GT(video.duration_seconds, 1.0);
  EXPECT_LT(video.duration_seconds, 4.1);
  EXPECT_EQ(video.video_frames, int(source.ticks.size()));
  EXPECT_NEAR(video.audio_seconds, video.video_frames / 30.0, 0.1);
  EXPECT_GT(video.audio_peak, 0.01f);

  ASSERT_EQ(source.ticks[kFrame], 64);
  std::vector<uint8_t> expected(640 * 480 * 3);
  source.Render(64, expected.data());
  ASSERT_EQ(video.rgb.size(), expected.size() * scale * scale);
  // Within what a lossy codec with half-resolution colour may change: little inside the squares,
  // more along their edges.
  int64_t total_error = 0, inner_error = 0, inner_count = 0, inner_max = 0;
  for (int y = 0; y < 480 * scale; ++y) {
    for (int x = 0; x < 640 * scale; ++x) {
      const bool inner = (x / scale) % 16 >= 4 && (x / scale) % 16 < 12 && (y / scale) % 16 >= 4 &&
                         (y / scale) % 16 < 12;
      for (int c = 0; c < 3; ++c) {
        const int want = expected[((y / scale) * 640 + x / scale) * 3 + c];
        const int error = std::abs(video.rgb[(size_t(y) * 640 * scale + x) * 3 + c] - want);
        total_error += error;
        if (inner) {
          inner_error += error;
          inner_max = std::max<int64_t>(inner_max, error);
          ++inner_count;
        }
      }
    }
  }
  EXPECT_LT(double(inner_error) / inner_count, 2.0);
  EXPECT_LE(inner_max, 8);
  EXPECT_LT(double(total_error) / video.rgb.size(), 5.0);
}

INSTANTIATE_TEST_SUITE_P(Scales, VideoExport, testing::Values(1, 2));

class VideoExportFailure : public testing::Test {
 protected:
  TempFolder folder;
  SquaresSource source;
};

TEST_F(VideoExportFailure, ACancelLeavesTheEarlierFileAndNoTemporaryFile) {
  const std::string path = folder.Write("song.mp4", {'o', 'l', 'd'});
  auto cancelAtFifth = [count = 0](int64_t, int64_t) mutable { return ++count < 5; };
  EXPECT_THROW(ExportVideo(OneSecondSong(), source, path, {}, cancelAtFifth), VideoCancelled);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"song.mp4"});
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
}

TEST_F(VideoExportFailure, AFolderThatCannotBeWrittenGivesAReasonAndNoFile) {
  EXPECT_THROW(ExportVideo(OneSecondSong(), source, folder / "missing/song.mp4", {}), VideoError);
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(VideoExportFailure, NoSoundfontGivesAReasonAndNoFile) {
  EXPECT_THAT(
      [&] {
        ExportVideo(OneSecondSong(), source, folder / "song.mp4",
                    {.soundfont_folder = folder.Path().string()});
      },
      testing::ThrowsMessage<VideoError>(testing::HasSubstr("SoundFont")));
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(VideoExportFailure, TheProgressNeverPassesTheSongsEndWhileTheTailIsWritten) {
  std::vector<std::pair<int64_t, int64_t>> reports;
  ExportVideo(OneSecondSong(), source, folder / "song.mp4", {}, [&](int64_t written, int64_t end) {
    reports.emplace_back(written, end);
    return true;
  });
  ASSERT_FALSE(reports.empty());
  for (const auto& [written, end] : reports) EXPECT_LE(written, end);
  EXPECT_EQ(reports.back().first, reports.back().second);
  EXPECT_GT(std::count(reports.begin(), reports.end(), reports.back()), 1);  // the tail's frames
}

// Frames of noise: each one fills the writer's buffer, so a failing disk shows at once.
void Noise(uint8_t* rgb, int frame) {
  uint32_t state = 2463534242u + uint32_t(frame);
  for (size_t i = 0; i < size_t(FrameSource::kWidth) * FrameSource::kHeight * 3; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    rgb[i] = uint8_t(state);
  }
}

// A full disk, as the writer's file descriptor meets it (/dev/full): the first write that fails
// stops the export, and the reason says the disk is full.
TEST(Mp4WriterFailure, AFullDiskStopsAtTheFirstFailedWrite) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  __gnu_cxx::stdio_filebuf<char> buffer(fd, std::ios::out | std::ios::binary);
  std::ostream out(&buffer);
  std::vector<uint8_t> rgb(size_t(FrameSource::kWidth) * FrameSource::kHeight * 3);
  const std::vector<float> silence(1470);  // a frame's sound: the muxer interleaves the two
  int frames = 0;
  std::string reason;
  try {
    Mp4Writer writer(out, {});
    for (; frames < 300; ++frames) {
      Noise(rgb.data(), frames);
      writer.WriteAudio(silence.data(), silence.data(), int(silence.size()));
      writer.WriteVideo(rgb.data());
    }
    writer.Finish();
  } catch (const VideoError& error) {
    reason = error.what();
  }
  EXPECT_EQ(reason, "動画ファイルに書き込めません (ディスクの空きがありません)");
  // Before the encoder has given back much more than its look-ahead of frames.
  EXPECT_LT(frames, 100);
}

}  // namespace
