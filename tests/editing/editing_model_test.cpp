// The editing model: every step undone and redone gives back the exact table, slots beyond the
// live events included; the history's limit and its clean state.
#include "editing/editing_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "document/project_file.h"

namespace {

EventItem Event(const std::string& mark, int32_t count) {
  EventItem item;
  item.Mark = mark;
  item.Count = count;
  item.Picture = mark + ".bmp";
  item.Lyrics = "la\r\n";
  item.X2 = 639;
  item.Color = 255;
  return item;
}

struct StepCase {
  const char* name;
  std::function<bool(EditingModel&)> step;
  int32_t selection_after;
};

// A, B, C live; a fourth slot that once held D; B selected.
class EditingModelTest : public testing::Test {
 protected:
  EditingModelTest() {
    EventTable& table = model.Table();
    for (int i = 0; i < 4; ++i)
      table.events[i] = Event(std::string(1, char('A' + i)), 10 * (i + 1));
    table.EventCount = 3;
    model.Select(1);
  }
  EditingModel model;
};

class StepTest : public EditingModelTest, public testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, UndoAndRedoGiveBackTheExactTable) {
  const auto slots_before = model.Table().events;
  const std::string bytes_before = ProjectFileBytes(model.Table());

  ASSERT_TRUE(GetParam().step(model));
  EXPECT_FALSE(model.IsClean());
  EXPECT_EQ(model.Selection(), GetParam().selection_after);
  const auto slots_after = model.Table().events;
  const std::string bytes_after = ProjectFileBytes(model.Table());
  EXPECT_NE(bytes_after, bytes_before);

  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(ProjectFileBytes(model.Table()), bytes_before);
  EXPECT_EQ(model.Table().events, slots_before);
  EXPECT_EQ(model.Selection(), 1);
  EXPECT_TRUE(model.IsClean());

  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(ProjectFileBytes(model.Table()), bytes_after);
  EXPECT_EQ(model.Table().events, slots_after);
  EXPECT_EQ(model.Selection(), GetParam().selection_after);
}

INSTANTIATE_TEST_SUITE_P(
    EditingModel, StepTest,
    testing::Values(StepCase{"change",
                             [](EditingModel& m) { return m.ChangeEvent(2, Event("C2", 31)); }, 2},
                    StepCase{"add reuses the old slot",
                             [](EditingModel& m) { return m.AddEvent(Event("N", 7)); }, 3},
                    StepCase{"delete middle", [](EditingModel& m) { return m.DeleteEvent(1); }, 1},
                    StepCase{"delete last", [](EditingModel& m) { return m.DeleteEvent(2); }, 1},
                    StepCase{"delete first", [](EditingModel& m) { return m.DeleteEvent(0); }, 0},
                    StepCase{"retime",
                             [](EditingModel& m) {
                               return m.RetimeEvents({{0, 11}, {2, 29}, {0, 12}});
                             },
                             1},
                    StepCase{"replace",
                             [](EditingModel& m) {
                               EventTable table;
                               table.events[0] = Event("X", 5);
                               table.EventCount = 1;
                               return m.ReplaceEvents(table, 0);
                             },
                             0}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::to_string(info.index); });

TEST_F(EditingModelTest, AStepThatChangesNothingIsNoStep) {
  EXPECT_FALSE(model.ChangeEvent(0, model.Table().events[0]));
  EXPECT_FALSE(model.RetimeEvents({{0, 10}}));
  EXPECT_FALSE(model.ChangeEvent(3, Event("x", 1)));  // not a live event
  EXPECT_FALSE(model.CanUndo());
  EXPECT_TRUE(model.IsClean());
  EXPECT_EQ(model.Selection(), 1);
}

TEST_F(EditingModelTest, UndoingBackToTheSavedStateIsCleanUntilANewStepReplacesIt) {
  model.ChangeEvent(0, Event("A1", 1));
  model.SetClean();
  model.ChangeEvent(0, Event("A2", 2));
  EXPECT_FALSE(model.IsClean());
  model.Undo();
  EXPECT_TRUE(model.IsClean());
  model.Undo();
  EXPECT_FALSE(model.IsClean());
  model.Redo();
  EXPECT_TRUE(model.IsClean());
  model.Undo();
  model.ChangeEvent(0, Event("A3", 3));  // the saved state can no longer be reached
  model.Undo();
  EXPECT_FALSE(model.IsClean());
}

TEST_F(EditingModelTest, AThousandStepsAreKeptThenTheOldestGoAndTheCleanStateWithThem) {
  for (int i = 0; i < 1005; ++i) model.ChangeEvent(i % 3, Event("E", i + 100));
  EXPECT_EQ(model.UndoCount(), 1000u);
  while (model.Undo()) {
  }
  EXPECT_EQ(model.Table().events[2].Count, 102);  // steps 0 to 4 are gone
  EXPECT_FALSE(model.IsClean());
}

}  // namespace
