#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <string>

#include "checks/problem.h"
#include "logwindow/tform3.h"
#include "text/cp932.h"

namespace {

class LogWindowTest : public testing::Test {
 protected:
  QStringList Lines() const {
    QStringList lines;
    for (int row = 0; row < log_.ListBox1()->count(); ++row) {
      lines.append(log_.ListBox1()->item(row)->text());
    }
    return lines;
  }

  TForm3 log_;
};

}  // namespace

TEST_F(LogWindowTest, WindowHasItsCaptionControlsAndPlaces) {
  EXPECT_EQ(log_.windowTitle(), QStringLiteral("メイク中"));
  EXPECT_EQ(log_.pos(), QPoint(237, 209));
  EXPECT_EQ(log_.ListBox1()->objectName(), QStringLiteral("ListBox1"));
  EXPECT_EQ(log_.ListBox1()->geometry(), QRect(8, 8, 409, 241));
  EXPECT_EQ(log_.OK()->objectName(), QStringLiteral("OK"));
  EXPECT_EQ(log_.OK()->geometry(), QRect(336, 256, 75, 25));
  EXPECT_EQ(log_.OK()->text(), QStringLiteral("OK"));
  EXPECT_TRUE(QRect(QPoint(0, 0), log_.size()).contains(log_.OK()->geometry()));
  EXPECT_TRUE(QRect(QPoint(0, 0), log_.size()).contains(log_.ListBox1()->geometry()));
  EXPECT_LE(log_.width(), 436);
  EXPECT_LE(log_.height(), 314);
  EXPECT_EQ(log_.minimumSize(), log_.size());
  EXPECT_FALSE(log_.testAttribute(Qt::WA_QuitOnClose));
  EXPECT_FALSE(log_.isVisible());
  EXPECT_EQ(log_.ListBox1()->count(), 0);
}

TEST_F(LogWindowTest, ResizedTheListTakesTheRoomAndOkKeepsToTheCorner) {
  log_.show();
  log_.resize(800, 500);
  EXPECT_EQ(log_.ListBox1()->geometry(), QRect(8, 8, 781, 454));
  EXPECT_EQ(log_.OK()->geometry(), QRect(708, 469, 75, 25));
  log_.SetRun(TForm3::Run::kChecks);
  EXPECT_EQ(log_.windowTitle(), QStringLiteral("チェック中"));
  log_.SetRun(TForm3::Run::kMake);
  EXPECT_EQ(log_.windowTitle(), QStringLiteral("メイク中"));
}

// OK is disabled from the start of a run until its end.
TEST_F(LogWindowTest, LinesArriveInOrderAndEmptyLinesStayEmpty) {
  EXPECT_TRUE(log_.OK()->isEnabled());
  log_.BeginLog();
  EXPECT_FALSE(log_.OK()->isEnabled());
  log_.AddLogLine(Utf8ToCp932("画像を変換します"));
  EXPECT_FALSE(log_.OK()->isEnabled());
  log_.AddLogLine("");
  log_.AddLogLine("song.vnl");
  log_.AddLogLine(Utf8ToCp932("終了"));
  log_.EndLog();
  EXPECT_TRUE(log_.OK()->isEnabled());
  EXPECT_EQ(Lines(), (QStringList{QStringLiteral("画像を変換します"), QString(),
                                  QStringLiteral("song.vnl"), QStringLiteral("終了")}));
  EXPECT_TRUE(log_.ListBox1()->selectedItems().isEmpty());
  EXPECT_EQ(log_.ListBox1()->currentRow(), -1);
}

TEST_F(LogWindowTest, SecondRunStartsWithAnEmptyList) {
  log_.BeginLog();
  log_.AddLogLine("first run");
  log_.EndLog();
  log_.BeginLog();
  EXPECT_EQ(log_.ListBox1()->count(), 0);
  log_.AddLogLine("second run");
  log_.EndLog();
  EXPECT_EQ(Lines(), QStringList{QStringLiteral("second run")});
}

TEST_F(LogWindowTest, ClosingDuringARunHidesTheWindowAndLinesStillArrive) {
  log_.show();
  log_.BeginLog();
  log_.AddLogLine("before");
  EXPECT_TRUE(log_.close());
  EXPECT_FALSE(log_.isVisible());
  log_.AddLogLine("after");
  log_.EndLog();
  EXPECT_EQ(Lines(), (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
  log_.show();
  EXPECT_TRUE(log_.isVisible());
  log_.OK()->click();  // hides the window and keeps the log
  EXPECT_FALSE(log_.isVisible());
  EXPECT_EQ(Lines(), (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
}

TEST_F(LogWindowTest, TheLastLineStaysInViewAndLongLinesStayWhole) {
  log_.show();
  log_.BeginLog();
  QScrollBar* down = log_.ListBox1()->verticalScrollBar();
  for (int line = 0; line < 60; ++line) {
    log_.AddLogLine(std::to_string(line));
    EXPECT_EQ(down->value(), down->maximum()) << line;
  }
  EXPECT_GT(down->maximum(), 0);
  const std::string wide(200, 'w');
  log_.AddLogLine(wide);
  log_.EndLog();
  EXPECT_EQ(log_.ListBox1()->textElideMode(), Qt::ElideNone);
  EXPECT_GT(log_.ListBox1()->horizontalScrollBar()->maximum(), 0);
  ASSERT_EQ(log_.ListBox1()->count(), 61);  // every line kept
  EXPECT_EQ(log_.ListBox1()->item(59)->text(), QStringLiteral("59"));
  EXPECT_EQ(log_.ListBox1()->item(60)->text(), QString::fromStdString(wide));
}

TEST_F(LogWindowTest, ProblemLinesLeadToTheirEventAndTheCountEndsTheList) {
  std::vector<int> chosen;
  QObject::connect(&log_, &TForm3::ProblemChosen, [&](int event) { chosen.push_back(event); });
  log_.BeginLog();
  log_.AddProblems({Problem{"same-time", 3, Problem::Severity::kWarning, "text"},
                    Problem{"missing-picture", 0, Problem::Severity::kError, "whole"}},
                   2, 1);
  log_.EndLog();
  EXPECT_EQ(Lines(), (QStringList{QStringLiteral("#3 警告: text [same-time]"),
                                  QStringLiteral("- エラー: whole [missing-picture]"),
                                  QStringLiteral("エラー 3 件、警告 2 件")}));
  for (int row = 0; row < 3; ++row) {
    emit log_.ListBox1()->itemDoubleClicked(log_.ListBox1()->item(row));
  }
  EXPECT_EQ(chosen, std::vector<int>{2});
}
