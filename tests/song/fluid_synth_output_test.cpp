#include "song/fluid_synth_output.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "smf_builder.h"
#include "song/fluid_media_player.h"
#include "song/time_source.h"

namespace {

float Loudness(FluidSynthOutput& output, int frames) {
  std::vector<float> left(frames), right(frames);
  output.Render(left.data(), right.data(), frames);
  float peak = 0;
  for (int i = 0; i < frames; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
  return peak;
}

TEST(FluidSynthOutput, TheGeneralMidiSoundfontSoundsANote) {
  std::string problem;
  auto output = FluidSynthOutput::Create({.open_audio = false}, &problem);
  ASSERT_NE(output, nullptr) << problem;
  EXPECT_LT(Loudness(*output, 4410), 1e-4f);
  output->Channel(0xC0, 0, 0);
  output->Channel(0x90, 60, 100);
  const float note = Loudness(*output, 4410);
  EXPECT_GT(note, 0.01f);
  output->SoundsOff();
  Loudness(*output, 22050);  // the cut voices and the reverb die away
  EXPECT_LT(Loudness(*output, 4410), note / 20);
}

TEST(FluidSynthOutput, AFolderWithoutSoundfontGivesTheNotice) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("vwrd-no-sf2-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::string problem;
  EXPECT_EQ(FluidSynthOutput::Create({.open_audio = false, .soundfont_folder = folder.string()},
                                     &problem),
            nullptr);
  EXPECT_EQ(problem, "音色ファイル (SoundFont) が見つからないため、音なしで再生します");
  std::filesystem::remove_all(folder);
}

std::string WriteSong(const std::string& name) {
  TrackBuilder melody;
  melody.Raw(0, {0xC0, 0}).Raw(0, {0xB0, 7, 90});
  for (int i = 0; i < 32; ++i) melody.Note(0, 0, uint8_t(60 + i % 12), 48);
  const std::vector<uint8_t> bytes =
      BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End(), melody.End()});
  const auto path =
      std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()) + ".mid");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path.string();
}

// This machine may have no sound card: the program's player must then play on silently.
TEST(FluidMediaPlayerOnThisMachine, PlaysARealFileForAMomentAndShutsDownCleanly) {
  const std::string path = WriteSong("vwrd-real-");
  {
    FluidMediaPlayer player;
    player.Open(path);
    EXPECT_EQ(player.Length(), 64);
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GE(player.Position(), 2);  // 125 ms a sixteenth
    EXPECT_TRUE(player.IsPlaying());
    player.Seek(32);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_GE(player.Position(), 32);
    player.TakeSoundNotice();
  }
  std::filesystem::remove(path);
}

TEST(FluidMediaPlayerOnThisMachine, PlaysThroughARealSynthesizerWithoutAudio) {
  const std::string path = WriteSong("vwrd-synth-");
  std::string problem;
  auto output = FluidSynthOutput::Create({.open_audio = false}, &problem);
  ASSERT_NE(output, nullptr) << problem;
  {
    FluidMediaPlayer player(std::make_shared<SteadyTimeSource>(), std::move(output));
    player.Open(path);
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    player.Seek(40);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_GE(player.Position(), 40);
    player.Stop();
    player.Resume();
  }
  std::filesystem::remove(path);
}

}  // namespace
