// The storyboard of the benchmark set (1024 events over 64 pictures of 640 x 480): the first
// full storyboard, and the tiles a window shows after one edit.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "document/names.h"
#include "showmodel/storyboard_model.h"

#include "bench/bench_picture.h"

namespace {

namespace fs = std::filesystem;

// The tiles a window of 1280 x 800 shows: seven rows of seven.
constexpr int kVisibleTiles = 49;

class Song {
 public:
  Song() : table_(std::make_unique<EventTable>()) {
    folder_ = fs::temp_directory_path() / ("vwrd_storyboard_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    for (int i = 0; i < bench::kPictures; ++i) {
      std::ofstream(folder_ / ("pic" + std::to_string(i) + ".bmp"), std::ios::binary)
          << bench::BandedPicture(i, i % 2 == 0);
    }
    SetMidiPath(*table_, (folder_ / "song.mid").string());
    bench::FillEvents(
        *table_, [](int i) { return "pic" + std::to_string(i) + ".bmp"; },
        "first lyric line\r\nsecond lyric line");
  }
  ~Song() { fs::remove_all(folder_); }

  EventTable& Table() { return *table_; }

 private:
  fs::path folder_;
  std::unique_ptr<EventTable> table_;
};

// From a fresh model (pictures read from the files): every tile.
void BM_FirstFullStoryboard(benchmark::State& state) {
  Song song;
  for (auto _ : state) {
    StoryboardModel model;
    model.Update(song.Table());
    for (int i = 0; i < model.Count(); ++i) benchmark::DoNotOptimize(model.Tile(i).get());
  }
}
BENCHMARK(BM_FirstFullStoryboard)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

// The lyric of the event in the middle edited, with the window showing it and the tiles after
// it: the build, the player and the visible tiles whose screen may have changed.
void BM_VisibleTilesAfterOneEdit(benchmark::State& state) {
  Song song;
  StoryboardModel model;
  model.Update(song.Table());
  for (int i = 0; i < model.Count(); ++i) model.Tile(i);
  int n = 0;
  for (auto _ : state) {
    song.Table().events[512].Lyrics = "edit " + std::to_string(++n);
    model.Update(song.Table());
    for (int i = 512; i < 512 + kVisibleTiles; ++i) benchmark::DoNotOptimize(model.Tile(i).get());
  }
}
BENCHMARK(BM_VisibleTilesAfterOneEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3);

// The part of the above that comes before any tile: the build and the player, as the show
// window has them after the same edit, and where the events settle.
void BM_UpdateAfterOneEdit(benchmark::State& state) {
  Song song;
  StoryboardModel model;
  model.Update(song.Table());
  int n = 0;
  for (auto _ : state) {
    song.Table().events[512].Lyrics = "edit " + std::to_string(++n);
    model.Update(song.Table());
  }
}
BENCHMARK(BM_UpdateAfterOneEdit)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

}  // namespace
