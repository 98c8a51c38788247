#include "build/build_show.h"

#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "app/document/names.h"
#include "build/command_generator.h"
#include "build/picture_table.h"
#include "wrd/vbinary_out.h"

namespace {

class SilentLog : public BuildLog {
 public:
  void BeginLog() override {}
  void AddLogLine(const std::string&) override {}
  void EndLog() override {}
};

// The collection pass through the cache: the same pictures, in the same order, as Make finds.
PictureTable CollectCached(const EventTable& table, PictureCache& cache,
                           std::vector<std::shared_ptr<const DecodedPicture>>& decoded) {
  PictureTable pictures;
  std::unordered_set<std::string> known;
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  for (int i = 0; i < count; ++i) {
    const std::string& text = table.events[i].Picture;
    if (text.empty()) continue;
    const std::string path = ResolvePicturePath(table, text);
    if (!known.insert(NameKey(path)).second) continue;
    std::shared_ptr<const DecodedPicture> source = cache.Get(path);
    Picture& picture = pictures.emplace_back();
    picture.Path = path;
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
  std::ostringstream bytes(std::ios::binary);
  {
    VBinaryOut out(bytes);
    CommandGenerator generator(table, pictures, out, log);
    generator.WriteHeader();
    generator.WritePictureLoader();
    generator.WriteEvents();
    out.Close();
  }
  const std::string_view view = bytes.view();
  build.Vnl.assign(view.begin(), view.end());
  return build;
}
