// The preview together with the main window: a dragged rectangle reaches the rectangle edits,
// and the main window's picture reaches the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/tform1.h"
#include "preview_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_media_player.h"

namespace {

class MainWindowLinkTest : public PreviewTest {
 protected:
  MainWindowLinkTest() : form1_(player_, dialogs_) { form1_.AttachPreview(&preview_); }

  QString Edit(const char* name) const {
    const auto* edit = form1_.findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit != nullptr ? edit->text() : QStringLiteral("(no %1)").arg(name);
  }

  ScriptedMediaPlayer player_;
  ScriptedDialogs dialogs_;
  TForm1 form1_;
};

}  // namespace

TEST_F(MainWindowLinkTest, DraggedRectangleFillsTheEditsAndMarksTheDocumentModified) {
  form1_.AddClick();
  ASSERT_EQ(form1_.Document().events[0].X2, 639);  // where lyrics belong
  Press(100, 50);
  Move(20, 300);
  Release(20, 300);
  EXPECT_EQ((QStringList{Edit("X1"), Edit("Y1"), Edit("X2"), Edit("Y2")}),
            (QStringList{"20", "50", "100", "300"}));
  EXPECT_TRUE(form1_.Modified());
  EXPECT_EQ(form1_.Document().events[0].X2, 100);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MainWindowLinkTest, ClickWithoutMovingLeavesTheEditsAndTheDocumentAlone) {
  const QString x1 = Edit("X1");
  Press(200, 200);
  Release(200, 200);
  EXPECT_EQ(Edit("X1"), x1);
  EXPECT_FALSE(form1_.Modified());
}

TEST_F(MainWindowLinkTest, PictureNamedInTheMainWindowIsShownAndAMissingOneClearsIt) {
  auto* picture = form1_.findChild<QComboBox*>(QStringLiteral("Picture"));
  auto* naraberu = form1_.findChild<QCheckBox*>(QStringLiteral("Naraberu"));
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(naraberu, nullptr);
  picture->setEditText(WritePicture("shown.bmp", 200, 200));
  naraberu->setChecked(true);
  form1_.UpdatePreviewPicture();
  EXPECT_TRUE(preview_.HasPicture());
  EXPECT_TRUE(preview_.Tile());
  EXPECT_EQ(Shown().pixel(400, 400), PixelColour(0, 0));
  picture->setEditText(folder_.filePath("missing.bmp"));
  form1_.UpdatePreviewPicture();
  EXPECT_FALSE(preview_.HasPicture());
}
