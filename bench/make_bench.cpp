// "Make" of 1024 events over 64 distinct 640 x 480 pictures: from scratch (every PNG converted)
// on one thread and on all cores, and again with every PNG up to date, beside the time to read
// the 64 BMP files; and the checks of the same song. The pictures use every colour (a Make can
// tell after a few rows); the "free" runs use pictures that leave index 255 unused, so that a
// Make has to look at every pixel. Each result also gives its minimum over the repetitions:
// the figure of a quiet machine.
//
// The pictures are generated (a different pattern in each) unless VWRD_BENCH_BMPS names a
// folder holding pic00.bmp .. pic63.bmp; bench/make_bench.sh uses that to compare with
// ImageMagick's conversion of the same files.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "checks/check.h"
#include "document/names.h"
#include "make/make_wrd_files.h"
#include "picture/bitmap_file.h"

#include "bench/bench_picture.h"

namespace {

namespace fs = std::filesystem;

using bench::kEvents;
using bench::kHeight;
using bench::kPictures;
using bench::kWidth;

using bench::NullLog;

class Song {
 public:
  explicit Song(bool leaveIndex255) {
    folder_ = fs::temp_directory_path() /
              ("vwrd_make_bench_" + std::to_string(::getpid()) + (leaveIndex255 ? "_free" : ""));
    fs::create_directories(folder_);
    const char* given = std::getenv("VWRD_BENCH_BMPS");
    for (int i = 0; i < kPictures; ++i) {
      const std::string name = "pic" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bmp";
      if (given != nullptr) {
        fs::copy_file(fs::path(given) / name, folder_ / name, fs::copy_options::overwrite_existing);
      } else {
        std::ofstream(folder_ / name, std::ios::binary) << bench::BandedPicture(i, leaveIndex255);
      }
      names_.push_back(name);
    }
    table_ = std::make_unique<EventTable>();
    SetMidiPath(*table_, (folder_ / "song.mid").string());
    bench::FillEvents(
        *table_, [this](int i) { return names_[i]; }, "first lyric line\r\nsecond lyric line");
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

// One set of pictures of each kind for the whole run.
Song& TheSong(bool leaveIndex255 = false) {
  static Song song(false);
  static Song free(true);
  return leaveIndex255 ? free : song;
}

double Minimum(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
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
  Song& song = TheSong(state.range(1) != 0);
  NullLog log;
  const MakeOptions options{static_cast<int>(state.range(0))};
  MakeWrdFiles(song.Table(), log, options);
  for (auto _ : state) {
    const BuildResult result = MakeWrdFiles(song.Table(), log, options);
    if (result.PicturesConverted != 0) state.SkipWithError("a PNG was converted again");
  }
}
// Arguments: the threads (0: one per core), and whether index 255 is left free.
BENCHMARK(BM_MakeUpToDate)
    ->ArgNames({"threads", "free"})
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime()
    ->ComputeStatistics("min", Minimum);

// The yardstick: the 64 BMP files read whole, at their cheapest: into one BitmapFile, which
// keeps its pixel buffer from one file to the next.
void ReadBmps(const Song& song) {
  BitmapFile image;
  for (const std::string& name : song.Names()) {
    benchmark::DoNotOptimize(image.Load((song.Folder() / name).string()));
  }
}

void BM_ReadBmps(benchmark::State& state) {
  Song& song = TheSong(state.range(0) != 0);
  for (auto _ : state) ReadBmps(song);
}
BENCHMARK(BM_ReadBmps)
    ->ArgName("free")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime()
    ->ComputeStatistics("min", Minimum);

// The goal's own figure: an up-to-date Make on all cores over the reading of its BMP files. The
// two are timed in turn in every iteration, so that a machine whose speed changes meanwhile
// (another guest on the same host) touches both alike; "ratio" is their quotient.
void BM_UpToDateOverReading(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Song& song = TheSong(state.range(0) != 0);
  NullLog log;
  MakeWrdFiles(song.Table(), log);
  Clock::duration make{};
  Clock::duration read{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    MakeWrdFiles(song.Table(), log);
    const Clock::time_point made = Clock::now();
    ReadBmps(song);
    make += made - start;
    read += Clock::now() - made;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["make_ms"] = std::chrono::duration<double, std::milli>(make).count() / iterations;
  state.counters["read_ms"] = std::chrono::duration<double, std::milli>(read).count() / iterations;
  state.counters["ratio"] =
      std::chrono::duration<double>(make).count() / std::chrono::duration<double>(read).count();
}
BENCHMARK(BM_UpToDateOverReading)
    ->ArgName("free")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->UseRealTime();

// F7 and every F8: the pictures loaded again (on all cores) and every check run.
void BM_Check(benchmark::State& state) {
  Song& song = TheSong();
  for (auto _ : state) benchmark::DoNotOptimize(Check(song.Table(), 100000));
}
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace
