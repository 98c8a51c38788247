#include "make/build_show.h"

#include <string>

#include "make/command_generator.h"
#include "make/picture_table.h"
#include "wrd/vbinary_out.h"

namespace {

// The collection pass through the cache: the same pictures, in the same order, as Make finds.
PictureTable CollectCached(const EventTable& table, PictureCache& cache,
                           std::vector<std::shared_ptr<const DecodedPicture>>& decoded) {
  PictureTable pictures = ListPictures(table);
  for (Picture& picture : pictures) {
    std::shared_ptr<const DecodedPicture> source = cache.Get(picture.Path);
    picture.LoadFailed = source->Usable ? 0 : 1;
    if (source->Usable) {
      picture.Width = source->Width;
      picture.Height = source->Height;
      picture.FreeIndex = source->FreeIndex;
      if (picture.FreeIndex < 0) picture.Palette = source->BmpPalette;
    }
    decoded.push_back(std::move(source));
  }
  return pictures;
}

}  // namespace

ShowBuild BuildShow(const EventTable& table, PictureCache& cache) {
  ShowBuild build;
  const PictureTable pictures = CollectCached(table, cache, build.Pictures);
  SilentLog log;
  std::string bytes;
  {
    VBinaryOut out(bytes);
    CommandGenerator(table, pictures, &out, CommandGenerator::ScriptLines::kSkipped, log)
        .WriteAll();
    out.Close();
  }
  build.Vnl.assign(bytes.begin(), bytes.end());
  return build;
}
