// Load, free-index scan and PNG conversion of a 640 x 480 8-bit picture, the work the build
// does for each picture. The picture is the BMP file named by VWRD_BENCH_BMP, or else a
// generated one (smooth colour areas with noise, written uncompressed).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture/bitmap_file.h"
#include "picture/png_writer.h"

namespace {

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> GeneratedPicture() {
  constexpr int kWidth = 640;
  constexpr int kHeight = 480;
  std::vector<uint8_t> bytes(54, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 10, 54 + 1024);
  Put32(bytes, 14, 40);
  Put32(bytes, 18, kWidth);
  Put32(bytes, 22, kHeight);
  bytes[26] = 1;
  bytes[28] = 8;
  for (int i = 0; i < 256; ++i) {
    bytes.insert(bytes.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                               static_cast<uint8_t>(i * 3), 0});
  }
  uint32_t state = 12345;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      state = state * 1103515245u + 12345u;
      const int noise = (state >> 28) & 3;
      bytes.push_back(static_cast<uint8_t>((x / 40 + y / 30) * 8 + noise));  // index 255 unused
    }
  }
  Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  return bytes;
}

// The picture file and a folder for the PNG, for the whole run.
struct Workspace {
  std::filesystem::path folder;
  std::string bmp;
  std::string png;

  Workspace() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "picture-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder = pattern;
    png = (folder / "out.png").string();
    if (const char* given = std::getenv("VWRD_BENCH_BMP")) {
      bmp = given;
      return;
    }
    bmp = (folder / "in.bmp").string();
    const std::vector<uint8_t> bytes = GeneratedPicture();
    std::ofstream(bmp, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

const Workspace& Files() {
  static const Workspace workspace;
  return workspace;
}

BitmapFile LoadOrThrow(const std::string& path) {
  BitmapFile image;
  if (!image.Load(path) || image.BitCount() != 8) {
    throw std::runtime_error("cannot load an 8-bit picture from " + path + ": " +
                             image.ErrorText());
  }
  return image;
}

// The build's free-colour search: the highest palette index no pixel uses, or -1.
int FreeIndex(const BitmapFile& image) {
  bool used[256] = {};
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.Row(y);
    for (int32_t x = 0; x < image.Width(); ++x) used[row[x]] = true;
  }
  int free_index = -1;
  for (int i = 0; i < 256; ++i) {
    if (!used[i]) free_index = i;
  }
  return free_index;
}

void BM_Load(benchmark::State& state) {
  for (auto _ : state) {
    BitmapFile image = LoadOrThrow(Files().bmp);
    benchmark::DoNotOptimize(image.Row(0));
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMicrosecond);

void BM_Scan(benchmark::State& state) {
  const BitmapFile image = LoadOrThrow(Files().bmp);
  for (auto _ : state) benchmark::DoNotOptimize(FreeIndex(image));
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMicrosecond);

void BM_Convert(benchmark::State& state) {
  const BitmapFile image = LoadOrThrow(Files().bmp);
  for (auto _ : state) {
    if (!WritePng(Files().png, image)) state.SkipWithError("WritePng failed");
  }
  state.counters["png_bytes"] = static_cast<double>(std::filesystem::file_size(Files().png));
}
BENCHMARK(BM_Convert)->Unit(benchmark::kMillisecond);

// What the build does per picture, and what `convert in.bmp out.png` is compared with.
void BM_LoadScanConvert(benchmark::State& state) {
  for (auto _ : state) {
    const BitmapFile image = LoadOrThrow(Files().bmp);
    benchmark::DoNotOptimize(FreeIndex(image));
    if (!WritePng(Files().png, image)) state.SkipWithError("WritePng failed");
  }
}
BENCHMARK(BM_LoadScanConvert)->Unit(benchmark::kMillisecond);

}  // namespace
