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
}

TEST(QtDialogsTest, NoticeBoxHasTheTitleAndTheTextAsItIs) {
  const auto box = MakeNoticeBox(QStringLiteral("音は出ません"));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Varnel WRD Maker"));
  EXPECT_EQ(box->text(), QStringLiteral("音は出ません"));
  EXPECT_NE(box->icon(), QMessageBox::Critical);
}

TEST(QtDialogsTest, YesNoCancelBoxHasNoIconAndEscapeCancels) {
  const auto box = MakeQuestionBox(QStringLiteral("保存しますか"), QStringLiteral("確認"), true);
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
  EXPECT_EQ(box->text(), QStringLiteral("保存しますか"));
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
}

TEST(QtDialogsTest, YesNoBoxHasNoIconAndEscapeAnswersNo) {
  const auto box = MakeQuestionBox(QStringLiteral("削除しますか"), QStringLiteral("確認"), false);
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
}

TEST(QtDialogsTest, MarkupInAMessageIsShownAsText) {
  const auto box = MakeErrorBox(QStringLiteral("<b>a</b>"));
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->text(), QStringLiteral("<b>a</b>."));
}
