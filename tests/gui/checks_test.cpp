// The checks in the main window: F7 lists them in the log window, a double click on a
// problem's line goes to its event, F8 and Shift+F8 go from problem to problem.
#include <QListWidget>

#include "document/names.h"
#include "document/project_file.h"
#include "logwindow/tform3.h"
#include "main_window_fixture.h"
#include "widgets/cp932_text.h"

namespace {

class ChecksTest : public MainWindowTest {
 protected:
  // A song of 640 sixteenths and four events: A at 10; B and C both at 40 (B is hidden); D at
  // 700, after the song's end, with lyrics but no rectangle.
  void SetUp() override {
    MainWindowTest::SetUp();
    log = std::make_unique<TForm3>();
    form->AttachLog(log.get());
    const QString song = MakeSong("song.mid", 640);
    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, ToCp932(song));
    const char* marks[] = {"A", "B", "C", "D"};
    const int counts[] = {10, 40, 40, 700};
    for (int i = 0; i < 4; ++i) {
      table->events[i].Mark = marks[i];
      table->events[i].Count = counts[i];
    }
    table->events[3].Lyrics = "x";
    table->EventCount = 4;
    WriteProject(*table);
    form->OpenMidiFile(song);
  }

  QStringList LogLines() {
    QStringList lines;
    for (int i = 0; i < log->ListBox1()->count(); ++i) lines << log->ListBox1()->item(i)->text();
    return lines;
  }

  std::unique_ptr<TForm3> log;
};

TEST_F(ChecksTest, F7ListsTheProblemsAndTheirCount) {
  form->CheckKey();
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(log->windowTitle(), QStringLiteral("チェック中"));  // nothing is made
  EXPECT_TRUE(log->OK()->isEnabled());
  EXPECT_EQ(
      LogLines(),
      (QStringList{
          "#2 警告: イベント #3 と同じ時間 40 です。表で後の #3 がこのイベントを隠します "
          "[same-time]",
          "#4 警告: 画像がなく、これより前にも表示できる画像がないため、歌詞は黒い画面に表示"
          "されます [no-picture-yet]",
          "#4 警告: 歌詞がありますが、文字の枠 (0, 0)-(0, 0) が空です（X2 が X1 以下か、Y2 が "
          "Y1 以下） [no-text-rect]",
          "#4 警告: 時間 700 は曲の終わり (640) より 60 後です [past-song-end]",
          "エラー 0 件、警告 4 件"}));
}

// Looking commits nothing; a jump makes the edits one step.
TEST_F(ChecksTest, ADoubleClickOnAProblemSelectsItsEventAndSeeksTheSong) {
  form->SelectEvent(0);
  Edit("Mark")->setText("A2");
  const size_t steps = form->Editing().UndoCount();
  form->CheckKey();
  EXPECT_EQ(form->Editing().UndoCount(), steps);
  player.calls.clear();
  emit log->ListBox1()->itemDoubleClicked(log->ListBox1()->item(1));
  EXPECT_EQ(Doc().events[0].Mark, "A2");
  EXPECT_EQ(form->Editing().UndoCount(), steps + 1);
  EXPECT_EQ(form->Selection(), 3);
  EXPECT_EQ(List()->currentRow(), 3);
  EXPECT_EQ(Edit("Mark")->text(), QStringLiteral("D"));
  // The song goes as far as it can: to its end.
  EXPECT_EQ(player.calls, std::vector<std::string>{"Seek 700"});
  EXPECT_EQ(Bar("TimeBar")->value(), 640);

  emit log->ListBox1()->itemDoubleClicked(log->ListBox1()->item(0));
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(Edit("Mark")->text(), QStringLiteral("B"));
  EXPECT_TRUE(CounterText().startsWith("40 ")) << CounterText().toStdString();

  // The count line leads nowhere.
  emit log->ListBox1()->itemDoubleClicked(log->ListBox1()->item(4));
  EXPECT_EQ(form->Selection(), 1);
}

TEST_F(ChecksTest, F8AndShiftF8GoRoundTheEventsWithProblems) {
  // Going round is the rule's own (tested with it); the keys hand it the selection.
  form->NextProblemKey(1);
  EXPECT_EQ(form->Selection(), 1);
  // The status line says what is wrong there (the event's first problem).
  EXPECT_EQ(Control<QLabel>("Status")->text(),
            QStringLiteral("#2 警告: イベント #3 と同じ時間 40 です。表で後の #3 がこのイベントを"
                           "隠します [same-time]"));
  form->NextProblemKey(-1);
  EXPECT_EQ(form->Selection(), 3);
  EXPECT_TRUE(Control<QLabel>("Status")->text().startsWith(QStringLiteral("#4 警告: 画像がなく")));
  // A mended problem is gone at once: C moved away, so B is no longer hidden.
  form->SelectEvent(2);
  Edit("Count")->setText("50");
  Bar("TimeBar2")->setValue(50);
  form->NextProblemKey(1);
  EXPECT_EQ(form->Selection(), 3);
  form->NextProblemKey(1);
  EXPECT_EQ(form->Selection(), 3);
}

}  // namespace
