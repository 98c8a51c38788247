// The main window feeding the preview window, and the preview's rectangle coming back.
#include "main_window_fixture.h"
#include "preview/tform2.h"
#include "test_files.h"

namespace {

class PreviewHookupTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    preview = std::make_unique<TForm2>();
    form->AttachPreview(preview.get());
    WriteBmp8(dir.filePath("a.bmp"), 8, 8, 1);
    form->OpenMidiFile(MakeSong("song.mid", 640));
  }

  std::unique_ptr<TForm2> preview;
};

TEST_F(PreviewHookupTest, ABareNameIsTakenFromTheSongsFolder) {
  Combo("Picture")->setEditText("a.bmp");
  EXPECT_TRUE(preview->HasPicture());
  EXPECT_FALSE(preview->Tile());
  Control<QCheckBox>("Naraberu")->click();
  EXPECT_TRUE(preview->Tile());
}

TEST_F(PreviewHookupTest, AMissingOrEmptyNameClearsThePicture) {
  Combo("Picture")->setEditText("a.bmp");
  ASSERT_TRUE(preview->HasPicture());
  Combo("Picture")->setEditText("b.bmp");
  EXPECT_FALSE(preview->HasPicture());
  Combo("Picture")->setEditText("a.bmp");
  Combo("Picture")->setEditText("");
  EXPECT_FALSE(preview->HasPicture());
}

TEST_F(PreviewHookupTest, AFullPathIsUsedAsItStands) {
  Combo("Picture")->setEditText(dir.filePath("a.bmp"));
  EXPECT_TRUE(preview->HasPicture());
}

TEST_F(PreviewHookupTest, SelectingAnEventSetsThePreviewRectangle) {
  form->SetTextRect(1, 2, 30, 40);
  form->AddClick();  // commits event 0, loads event 1 (0, 0, 0, 0)
  EXPECT_EQ(preview->CommittedRect(), (PreviewRect{0, 0, 0, 0}));
  ClickLine(0);
  EXPECT_EQ(preview->CommittedRect(), (PreviewRect{1, 2, 30, 40}));
}

TEST_F(PreviewHookupTest, ADraggedRectangleReachesTheEditsTheEventAndMarksModified) {
  ASSERT_FALSE(Doc().Modified);
  emit preview->TextRectChosen(20, 50, 100, 300);
  EXPECT_EQ(Edit("X1")->text(), "20");
  EXPECT_EQ(Edit("Y1")->text(), "50");
  EXPECT_EQ(Edit("X2")->text(), "100");
  EXPECT_EQ(Edit("Y2")->text(), "300");
  EXPECT_TRUE(Doc().Modified);
  EXPECT_EQ(Doc().events[0].X2, 100);  // a drag is a step of its own
}

TEST_F(PreviewHookupTest, PreviewShowsTheWindow) {
  form->PreviewClick();
  EXPECT_TRUE(preview->isVisible());
}

TEST_F(PreviewHookupTest, LyricsReachThePreview) {
  // Black text shows over a tiled picture of grey 1, not over the black screen.
  Combo("Picture")->setEditText("a.bmp");
  Control<QCheckBox>("Naraberu")->click();
  form->SetTextRect(0, 0, 640, 480);
  ClickLine(0);  // the event and the preview take the rectangle
  const QImage before = preview->ScreenImage();
  Control<QPlainTextEdit>("Lyrics")->setPlainText("AB");
  EXPECT_NE(preview->ScreenImage(), before);
}

}  // namespace
