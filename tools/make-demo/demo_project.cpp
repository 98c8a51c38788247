#include "tools/make-demo/demo_project.h"

#include <memory>

#include "document/event_table.h"
#include "document/project_file.h"
#include "text/cp932.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kPaleYellow = 0x0080FFFF;  // 0x00BBGGRR
// Dark blue: the tile's ground is cream, on which white cannot be read.
constexpr uint32_t kDarkBlue = 0x00461E14;

struct DemoEvent {
  const char* mark;
  int32_t count;  // sixteenth notes: one bar is 16
  const char* picture;
  int32_t effect;  // 0 none, 1 through white, 2 through black
  const char* lyrics;
  int32_t naraberu;
  uint32_t colour;
};

const DemoEvent kEvents[] = {
    // The first event cannot fade out (nothing comes before it), so it does not fade at all.
    {"よる", 0, "night.bmp", 0, "ほしが ひかる よる", 0, kWhite},
    {"よあけ", 32, "sunrise.bmp", 1, "そらが あかるく なる", 0, kPaleYellow},
    {"もよう", 64, "tile.bmp", 0, "くりかえし くりかえし", 1, kDarkBlue},
    {"のはら", 96, "field.bmp", 1, "かぜが ふく\r\nのはらを ゆく", 0, kWhite},
    {"おわり", 160, "sunrise.bmp", 2, "おしまい", 0, kPaleYellow},
};

}  // namespace

std::string DemoProjectBytes() {
  auto table = std::make_unique<EventTable>();
  for (const DemoEvent& demo : kEvents) {
    EventItem& item = table->events[table->EventCount++];
    item.Mark = Utf8ToCp932(demo.mark);
    item.Count = demo.count;
    item.Picture = demo.picture;
    item.Effect = demo.effect;
    // Each lyric line ends with CR LF, as the program holds lyrics it has read: the file is the
    // one the program saves again.
    item.Lyrics = Utf8ToCp932(demo.lyrics) + "\r\n";
    item.X1 = 0;
    item.Y1 = 400;
    item.X2 = 639;
    item.Y2 = 479;
    item.Naraberu = demo.naraberu;
    item.Align = kAlignCentre;
    item.Color = demo.colour;
  }
  return ProjectFileBytes(*table);
}
