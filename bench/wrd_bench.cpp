// Queues and writes one million commands (BlendPalette, ChangePalette and DrawText, each after
// a SetTick, in the shape of the build's fades) to a VNL file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "wrd/vbinary_out.h"

namespace {

constexpr int64_t kSteps = 333334;  // three queued commands per step: 1,000,002 commands

void WriteMillionCommands(benchmark::State& state) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / "wrd_bench.vnl";
  for (auto _ : state) {
    VBinaryOut writer(path.c_str());
    writer.SetTitle("Varnel WRD Maker ver.1.1");
    writer.SetTimebase(48);
    writer.EndBlock();
    writer.Start();
    for (int64_t i = 0; i < kSteps; ++i) {
      // Events four quarter notes apart, each with 19 fade steps before its own tick, so the
      // queue is not in tick order.
      uint32_t event = static_cast<uint32_t>(i / 19);
      uint32_t step = static_cast<uint32_t>(i % 19);
      int pct = step < 18 ? static_cast<int>(step * 8 * 100 / 144) : 100;
      writer.SetTick(192 * (event + 1) - 192 + 8 * step);
      writer.BlendPalette(-1, -3, -2, 0, 8, 0, 0, 8, 0, 100 - pct, pct);
      writer.ChangePalette(-2);
      writer.DrawText(-1, 255, 1, 255, 0, {300, static_cast<int16_t>(400 + step)}, "Hello");
    }
    if (!writer.Close()) {
      state.SkipWithError("writing the file failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * kSteps * 3);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}

BENCHMARK(WriteMillionCommands)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
