// The show's rebuild after one edit: 1024 events over 64 distinct 640 x 480 pictures, every
// picture already in the cache, so only the command stream is made again.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "make/build_show.h"
#include "showmodel/build_picture_source.h"
#include "showmodel/show_model.h"
#include "wrdplayer/show_player.h"

#include "bench/bench_picture.h"

namespace {

using bench::kEvents;
using bench::kHeight;
using bench::kPictures;
using bench::kWidth;

// An 8-bit picture of diagonal bands; index 255 stays free in every other one.
std::string Picture(int seed) {
  std::string out = bench::BmpHeader(seed);
  const int colours = seed % 2 == 0 ? 255 : 256;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) out += static_cast<char>((x + y + seed) % colours);
  }
  return out;
}

// The set, and one picture more for an edit that brings it in.
class Song : public bench::SongFolder {
 public:
  Song() : SongFolder("vwrd_show_bench", kPictures + 1, Picture) {}
};

void BM_RebuildAfterOneEdit(benchmark::State& state) {
  Song song;
  PictureCache cache;
  BuildShow(song.Table(), cache);
  const int reads = cache.Reads();
  int n = 0;
  for (auto _ : state) {
    song.Table().events[512].Lyrics = "edit " + std::to_string(++n);
    const ShowBuild build = BuildShow(song.Table(), cache);
    benchmark::DoNotOptimize(build.Vnl.data());
  }
  if (cache.Reads() != reads) state.SkipWithError("a cached picture was read again");
}
BENCHMARK(BM_RebuildAfterOneEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What the show window does after an edit: the build, a player for the new bytes made from
// the previous one, and the screen just after the edited event.
void BM_ShowAfterOneEdit(benchmark::State& state) {
  Song song;
  ShowModel model;
  model.Update(song.Table());
  int n = 0;
  for (auto _ : state) {
    song.Table().events[512].Lyrics = "edit " + std::to_string(++n);
    model.Update(song.Table());
    benchmark::DoNotOptimize(model.ScreenAt(16 * 513 * 12 + 200).indices.data());
  }
}
BENCHMARK(BM_ShowAfterOneEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The player's part of the above: a player for the rebuilt bytes made from the previous one,
// and the screen just after the edited event.
void BM_PlayerAfterOneEdit(benchmark::State& state) {
  Song song;
  PictureCache cache;
  const ShowBuild first = BuildShow(song.Table(), cache);
  auto player =
      std::make_unique<ShowPlayer>(first.Vnl, std::make_unique<BuildPictureSource>(first.Pictures));
  player->ScreenAt(16 * 513 * 12 + 200);
  std::vector<ShowBuild> builds;
  for (int i = 0; i < 2; ++i) {
    song.Table().events[512].Lyrics = "edit " + std::to_string(i);
    builds.push_back(BuildShow(song.Table(), cache));
  }
  int n = 0;
  for (auto _ : state) {
    const ShowBuild& build = builds[size_t(++n % 2)];
    player = std::make_unique<ShowPlayer>(
        build.Vnl, std::make_unique<BuildPictureSource>(build.Pictures), *player);
    benchmark::DoNotOptimize(player->ScreenAt(16 * 513 * 12 + 200).indices.data());
  }
}
BENCHMARK(BM_PlayerAfterOneEdit)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// An edit that brings in a picture no event showed: the pictures change, so the new player
// loads them all and replays from the start.
void BM_ShowAfterANewPicture(benchmark::State& state) {
  Song song;
  ShowModel model;
  model.Update(song.Table());
  int n = 0;
  for (auto _ : state) {
    song.Table().events[512].Picture =
        "pic" + std::to_string(++n % 2 == 0 ? 0 : kPictures) + ".bmp";
    model.Update(song.Table());
    benchmark::DoNotOptimize(model.ScreenAt(16 * 513 * 12 + 200).indices.data());
  }
}
BENCHMARK(BM_ShowAfterANewPicture)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// One frame while playing: the screen at a tick a frame after the last one.
void BM_FrameWhilePlaying(benchmark::State& state) {
  Song song;
  ShowModel model;
  model.Update(song.Table());
  int64_t tick = 0;
  for (auto _ : state) {
    tick += 2;  // about a frame at 120 beats per minute
    benchmark::DoNotOptimize(model.ScreenAt(tick).indices.data());
  }
}
BENCHMARK(BM_FrameWhilePlaying)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
