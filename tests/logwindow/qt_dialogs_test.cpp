#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "app/qt_dialogs.h"

TEST(QtDialogsTest, ErrorBoxHasTheCriticalIconTheTitleAndAFullStop) {
  const auto box = MakeErrorBox(QStringLiteral("ファイルを開けません"));
  EXPECT_EQ(box->icon(), QMessageBox::Critical);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Varnel WRD Maker"));
  EXPECT_EQ(box->text(), QStringLiteral("ファイルを開けません."));
  EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(MakeErrorBox(QStringLiteral("<b>a</b>"))->text(), QStringLiteral("<b>a</b>."));
}

TEST(QtDialogsTest, NoticeBoxHasTheTitleAndTheTextAsItIs) {
  const auto box = MakeNoticeBox(QStringLiteral("音は出ません"));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Varnel WRD Maker"));
  EXPECT_EQ(box->text(), QStringLiteral("音は出ません"));
  EXPECT_NE(box->icon(), QMessageBox::Critical);
}

// A question with Cancel: Escape cancels; without: Escape answers No.
TEST(QtDialogsTest, QuestionBoxesHaveNoIconAndEscapeCancelsOrAnswersNo) {
  const struct {
    bool cancel;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
  } rows[] = {{true, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel},
              {false, QMessageBox::Yes | QMessageBox::No, QMessageBox::No}};
  for (const auto& row : rows) {
    const auto box =
        MakeQuestionBox(QStringLiteral("保存しますか"), QStringLiteral("確認"), row.cancel);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
    EXPECT_EQ(box->text(), QStringLiteral("保存しますか"));
    EXPECT_EQ(box->standardButtons(), row.buttons);
    EXPECT_EQ(box->escapeButton(), box->button(row.escape));
  }
}
