#include "make/build_show.h"

#include <string>

#include "make/command_generator.h"
#include "make/picture_table.h"
#include "wrd/vbinary_out.h"

namespace {

// What the player takes, as it counts its memory, before the pictures: the set-up's screen page
// (640 x 480, a byte a pixel) and its four palettes (768 bytes each); and each picture's palette.
constexpr uint64_t kPaletteBytes = 256 * 3;
constexpr uint64_t kSetUpBytes = 640 * 480 + 4 * kPaletteBytes;

// The collection pass through the cache: the same pictures, in the same order, as Make finds.
PictureTable CollectCached(const EventTable& table, PictureCache& cache, uint64_t budget,
                           std::vector<std::shared_ptr<const DecodedPicture>>& decoded) {
  PictureTable pictures = ListPictures(table);
  uint64_t left = budget > kSetUpBytes ? budget - kSetUpBytes : 0;
  std::vector<std::string> paths;
  for (Picture& picture : pictures) {
    // Every palette is counted, used or not: the player may still give a refused picture one.
    left = left > kPaletteBytes ? left - kPaletteBytes : 0;
    const PictureRoom room{budget == UINT64_MAX ? UINT64_MAX : left, budget};
    std::shared_ptr<const DecodedPicture> source = cache.Get(picture.Path, room);
    paths.push_back(picture.Path);
    if (source->Usable && budget != UINT64_MAX) left -= source->Pixels.size();
    picture.LoadFailed = source->Usable ? 0 : 1;
    if (source->Usable) {
      picture.Width = source->Width;
      picture.Height = source->Height;
      picture.FreeIndex = source->FreeIndex;
      if (picture.FreeIndex < 0) picture.Palette = source->BmpPalette;
    }
    decoded.push_back(std::move(source));
  }
  cache.Retain(paths);
  return pictures;
}

}  // namespace

ShowBuild BuildShow(const EventTable& table, PictureCache& cache, uint64_t memoryBudget) {
  ShowBuild build;
  const PictureTable pictures = CollectCached(table, cache, memoryBudget, build.Pictures);
  SilentLog log;
  std::string bytes;
  {
    VBinaryOut out(bytes);
    CommandGenerator(table, pictures, &out, CommandGenerator::ScriptLines::kSkipped, log)
        .WriteAll();
    // Memory is the only thing that fails here, and that throws; checked all the same.
    if (!out.Close()) throw *out.Failure();
  }
  build.Vnl.assign(bytes.begin(), bytes.end());
  return build;
}
