// "Make" of 1024 events over 64 distinct 640 x 480 pictures: from scratch (every PNG converted)
// on one thread and on all cores, and again with every PNG up to date, beside the time to read
// the 64 BMP files; and the checks of the same song.
//
// The pictures are generated (a different pattern in each) unless VWRD_BENCH_BMPS names a
// folder holding pic00.bmp .. pic63.bmp; bench/make_bench.sh uses that to compare with
// ImageMagick's conversion of the same files.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/document/names.h"
#include "build/make_wrd_files.h"
#include "checks/check.h"
#include "picture/bitmap_file.h"

#include "bench/bench_picture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPictures = 64;
constexpr int kEvents = 1024;
using bench::kHeight;
using bench::kWidth;

using bench::NullLog;

std::string Picture(int seed) { return bench::BandedPicture(seed); }

class Song {
 public:
  Song() {
    folder_ = fs::temp_directory_path() / ("vwrd_make_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    const char* given = std::getenv("VWRD_BENCH_BMPS");
    for (int i = 0; i < kPictures; ++i) {
      const std::string name = "pic" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bmp";
      if (given != nullptr) {
        fs::copy_file(fs::path(given) / name, folder_ / name, fs::copy_options::overwrite_existing);
      } else {
        std::ofstream(folder_ / name, std::ios::binary) << Picture(i);
      }
      names_.push_back(name);
    }
    table_ = std::make_unique<EventTable>();
    SetMidiPath(*table_, (folder_ / "song.mid").string());
    for (int e = 0; e < kEvents; ++e) {
      EventItem& item = table_->events[e];
      item.Mark = "event " + std::to_string(e);
      item.Count = 16 * (e + 1);
      item.Picture = names_[e % kPictures];
      item.Effect = e % 3;
      item.Naraberu = e % 7 == 0 ? 1 : 0;
      item.Lyrics = "first lyric line\r\nsecond lyric line";
      item.X1 = 20;
      item.Y1 = 400;
      item.X2 = 620;
      item.Align = e % 3;
      item.Color = 0x00FFFFFF;
    }
    table_->EventCount = kEvents;
  }
  ~Song() { fs::remove_all(folder_); }

  void RemovePngs() {
    for (const std::string& name : names_) {
      fs::remove(folder_ / (name.substr(0, name.size() - 3) + "png"));
    }
  }
  const EventTable& Table() const { return *table_; }
  const std::vector<std::string>& Names() const { return names_; }
  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
  std::vector<std::string> names_;
  std::unique_ptr<EventTable> table_;
};

Song& TheSong() {
  static Song song;  // one set of pictures for the whole run
  return song;
}

void BM_MakeFromScratch(benchmark::State& state) {
  Song& song = TheSong();
  NullLog log;
  for (auto _ : state) {
    state.PauseTiming();
    song.RemovePngs();
    state.ResumeTiming();
    const BuildResult result =
        MakeWrdFiles(song.Table(), log, MakeOptions{static_cast<int>(state.range(0))});
    if (result.PicturesConverted != kPictures || result.ErrorLines != 0) {
      state.SkipWithError("the build did not convert every picture");
    }
  }
}
// Argument: the threads (0: one per core).
BENCHMARK(BM_MakeFromScratch)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

void BM_MakeUpToDate(benchmark::State& state) {
  Song& song = TheSong();
  NullLog log;
  const MakeOptions options{static_cast<int>(state.range(0))};
  MakeWrdFiles(song.Table(), log, options);
  for (auto _ : state) {
    const BuildResult result = MakeWrdFiles(song.Table(), log, options);
    if (result.PicturesConverted != 0) state.SkipWithError("a PNG was converted again");
  }
}
BENCHMARK(BM_MakeUpToDate)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();

void BM_ReadBmps(benchmark::State& state) {
  Song& song = TheSong();
  for (auto _ : state) {
    for (const std::string& name : song.Names()) {
      BitmapFile image;
      benchmark::DoNotOptimize(image.Load((song.Folder() / name).string()));
    }
  }
}
BENCHMARK(BM_ReadBmps)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// F7 and every F8: the pictures loaded again (on all cores) and every check run.
void BM_Check(benchmark::State& state) {
  Song& song = TheSong();
  for (auto _ : state) benchmark::DoNotOptimize(Check(song.Table(), 100000));
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace
