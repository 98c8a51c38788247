// The player on a Make of 1024 events over 64 distinct 640 x 480 pictures: opening the file,
// one frame (screen and RGB) at a random tick after a seek, frames while playing, and what
// vnl-render does in-process (open, one frame, PNG encoding).
//
// The song is built in a temporary folder, or in VWRD_BENCH_FOLDER when set (kept then, so that
// the real vnl-render can be timed on song.vnl).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "document/names.h"
#include "make/make_wrd_files.h"
#include "picture/rgb_png_writer.h"
#include "wrdplayer/png_folder_source.h"
#include "wrdplayer/show_player.h"

#include "bench/bench_picture.h"

namespace {

namespace fs = std::filesystem;

using bench::kEvents;
using bench::kHeight;
using bench::kPictures;
using bench::kWidth;

using bench::NullLog;

// The song's folder with its pictures, PNG files and song.vnl.
class Song {
 public:
  Song() {
    const char* given = std::getenv("VWRD_BENCH_FOLDER");
    keep_ = given != nullptr;
    folder_ = keep_
                  ? fs::path(given)
                  : fs::temp_directory_path() / ("vwrd_player_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, (folder_ / "song.mid").string());
    for (int i = 0; i < kPictures; ++i) {
      std::ofstream(folder_ / ("pic" + std::to_string(i) + ".bmp"), std::ios::binary)
          << bench::BandedPicture(i);
    }
    bench::FillEvents(
        *table, [](int i) { return "pic" + std::to_string(i) + ".bmp"; },
        "first lyric line\r\n\x82\xA0\x82\xA2\x82\xA4 second line");
    NullLog log;
    MakeWrdFiles(*table, log);
    std::ifstream in(folder_ / "song.vnl", std::ios::binary);
    vnl_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ~Song() {
    if (!keep_) fs::remove_all(folder_);
  }

  std::unique_ptr<ShowPlayer> Open(ShowPlayer::Options options = {}) const {
    return std::make_unique<ShowPlayer>(vnl_, std::make_unique<PngFolderSource>(folder_.string()),
                                        options);
  }
  const std::vector<uint8_t>& Vnl() const { return vnl_; }

 private:
  fs::path folder_;
  bool keep_ = false;
  std::vector<uint8_t> vnl_;
};

Song& TheSong() {
  static Song song;  // one build for the whole run
  return song;
}

// Runs `frame` once per iteration, after `prepare` (untimed), and reports the median and the
// slowest time in milliseconds.
template <typename Frame, typename Prepare = void (*)()>
void TimeFrames(
    benchmark::State& state, Frame frame, Prepare prepare = [] {}) {
  std::vector<double> times;
  for (auto _ : state) {
    state.PauseTiming();
    prepare();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    frame();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["max_ms"] = times.back();
}

void BM_OpenPlayer(benchmark::State& state) {
  Song& song = TheSong();
  TimeFrames(state, [&] { benchmark::DoNotOptimize(song.Open()); });
}
BENCHMARK(BM_OpenPlayer)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_FrameAfterSeek(benchmark::State& state) {
  std::unique_ptr<ShowPlayer> player = TheSong().Open();
  std::vector<uint8_t> rgb(size_t{kWidth} * kHeight * 3);
  std::mt19937 random(1);
  std::uniform_int_distribution<int64_t> ticks(0, player->LastTick());
  // The first pass over the song takes its snapshots; time the seeks after it.
  player->ScreenAt(player->LastTick());
  TimeFrames(state, [&] {
    player->ScreenAt(ticks(random)).ToRgb(rgb.data());
    benchmark::DoNotOptimize(rgb.data());
  });
}
BENCHMARK(BM_FrameAfterSeek)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_FrameAfterSeekFirstPass(benchmark::State& state) {
  // Seeks into a freshly opened player: its snapshots are not there yet.
  Song& song = TheSong();
  std::vector<uint8_t> rgb(size_t{kWidth} * kHeight * 3);
  std::mt19937 random(2);
  std::unique_ptr<ShowPlayer> player;
  int64_t tick = 0;
  TimeFrames(
      state, [&] { player->ScreenAt(tick).ToRgb(rgb.data()); },
      [&] {
        player = song.Open();
        tick = std::uniform_int_distribution<int64_t>(0, player->LastTick())(random);
      });
}
BENCHMARK(BM_FrameAfterSeekFirstPass)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FramesWhilePlaying(benchmark::State& state) {
  // 60 frames a second at 120 beats a minute: 1.6 ticks a frame.
  std::unique_ptr<ShowPlayer> player = TheSong().Open();
  std::vector<uint8_t> rgb(size_t{kWidth} * kHeight * 3);
  double tick = 0;
  TimeFrames(state, [&] {
    player->ScreenAt(int64_t(tick)).ToRgb(rgb.data());
    tick += 1.6;
    if (tick > double(player->LastTick())) tick = 0;
  });
}
BENCHMARK(BM_FramesWhilePlaying)->Unit(benchmark::kMicrosecond)->Iterations(20000);

void BM_RenderInProcess(benchmark::State& state) {
  // What vnl-render does after reading its arguments and the file.
  Song& song = TheSong();
  std::vector<uint8_t> rgb(size_t{kWidth} * kHeight * 3);
  ShowPlayer::Options options;
  options.keepSnapshots = false;
  TimeFrames(state, [&] {
    std::unique_ptr<ShowPlayer> player = song.Open(options);
    player->ScreenAt(player->LastTick() * 3 / 4).ToRgb(rgb.data());
    benchmark::DoNotOptimize(EncodeRgbPng(kWidth, kHeight, rgb.data()));
  });
}
BENCHMARK(BM_RenderInProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
