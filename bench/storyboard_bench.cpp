// The storyboard of the benchmark set (1024 events over 64 pictures of 640 x 480): the first
// full storyboard, and the tiles a window shows after one edit.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "showmodel/storyboard_model.h"

#include "bench/bench_picture.h"

namespace {

// The tiles a window of 1280 x 800 shows: seven rows of seven.
constexpr int kVisibleTiles = 49;

// The set with pictures that use every colour or leave index 255 free, in turn.
class Song : public bench::SongFolder {
 public:
  Song()
      : SongFolder("vwrd_storyboard_bench", bench::kPictures,
                   [](int i) { return bench::BandedPicture(i, i % 2 == 0); }) {}
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
