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

// A bare name is taken from the song's folder, a full path as it stands; a missing or empty name
// clears the picture.
TEST_F(PreviewHookupTest, ThePictureReachesThePreview) {
  const struct {
    QString name;
    bool shown;
  } rows[] = {{dir.filePath("a.bmp"), true},
              {"b.bmp", false},
              {"a.bmp", true},
              {"", false},
              {"a.bmp", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name.toStdString());
    Combo("Picture")->setEditText(row.name);
    EXPECT_EQ(preview->HasPicture(), row.shown);
  }
  EXPECT_FALSE(preview->Tile());
  Control<QCheckBox>("Naraberu")->click();
  EXPECT_TRUE(preview->Tile());
  form->PreviewClick();
  EXPECT_TRUE(preview->isVisible());
}

TEST_F(PreviewHookupTest, SelectingAnEventSetsThePreviewRectangle) {
  form->SetTextRect(1, 2, 30, 40);
  form->AddClick();  // event 1 takes the rectangle shown at its time
  form->SetTextRect(5, 6, 50, 60);
  EXPECT_EQ(preview->CommittedRect(), (PreviewRect{5, 6, 50, 60}));
  ClickLine(0);
  EXPECT_EQ(preview->CommittedRect(), (PreviewRect{1, 2, 30, 40}));
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
