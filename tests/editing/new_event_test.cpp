#include "editing/new_event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Layout {
  std::string picture;
  int32_t count, x1, align;
  uint32_t colour;
};

// The new event at `at` takes the layout of the latest event at or before it.
struct Case {
  const char* name;
  std::vector<Layout> events;  // table order
  int32_t at;
  Layout expected;  // its picture, x1, align and colour (count: the new event's)
};

class NewEventTest : public testing::TestWithParam<Case> {};

TEST_P(NewEventTest, TakesTheLayoutShownAtItsTime) {
  EventTable table;
  for (const Layout& layout : GetParam().events) {
    EventItem& item = table.events[table.EventCount++];
    item.Picture = layout.picture;
    item.Count = layout.count;
    item.X1 = layout.x1;
    item.Align = layout.align;
    item.Color = layout.colour;
    item.Lyrics = "old";
    item.Effect = kEffectFadeBlack;
  }
  // A slot beyond the live events plays no part.
  table.events[table.EventCount].Count = 0;
  table.events[table.EventCount].Picture = "gone.bmp";
  const EventItem added = NewEvent(table, GetParam().at);
  const Layout& want = GetParam().expected;
  EXPECT_EQ(added.Mark, "\x90\x56\x8B\x4B\x83\x43\x83\x78\x83\x93\x83\x67");  // 新規イベント
  EXPECT_EQ(added.Count, GetParam().at);
  EXPECT_EQ(added.Effect, kEffectNone);
  EXPECT_EQ(added.Lyrics, "");
  EXPECT_EQ(added.Picture, want.picture);
  EXPECT_EQ(added.X1, want.x1);
  EXPECT_EQ(added.Align, want.align);
  EXPECT_EQ(added.Color, want.colour);
}

INSTANTIATE_TEST_SUITE_P(
    NewEvent, NewEventTest,
    testing::Values(
        Case{"NoEvents", {}, 5, {"", 0, 0, kAlignCentre, 0xFFFFFF}},
        Case{"AllLater", {{"a.bmp", 10, 7, kAlignLeft, 1}}, 5, {"", 0, 0, kAlignCentre, 0xFFFFFF}},
        Case{"LatestBefore",
             {{"late.bmp", 30, 3, kAlignRight, 3}, {"a.bmp", 10, 1, kAlignLeft, 1}},
             20,
             {"a.bmp", 0, 1, kAlignLeft, 1}},
        Case{
            "AtTheSameTime", {{"a.bmp", 10, 1, kAlignLeft, 1}}, 10, {"a.bmp", 0, 1, kAlignLeft, 1}},
        Case{"TheLaterOfTwoAtOneTime",
             {{"a.bmp", 10, 1, kAlignLeft, 1}, {"b.bmp", 10, 2, kAlignRight, 2}},
             12,
             {"b.bmp", 0, 2, kAlignRight, 2}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
