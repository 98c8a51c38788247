// "動画を書き出す" in the show window: the export runs beside the windows and can be cancelled.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>

#include "main_window_fixture.h"
#include "show/show_window.h"
#include "show/video_export_dialog.h"
#include "song/smf_builder.h"
#include "test_files.h"

namespace {

class VideoExportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    WriteBmp8(dir.filePath("a.bmp"), 64, 48, 40);
    TrackBuilder melody;
    melody.Raw(0, {0xC0, 0}).Note(0, 0, 60, 96).End();
    const std::vector<uint8_t> song =
        BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End(96), melody});
    const QString path = MakeFile("song.mid", QByteArray(reinterpret_cast<const char*>(song.data()),
                                                         static_cast<qsizetype>(song.size())));
    player.lengths[path.toStdString()] = 8;
    form->OpenMidiFile(path);
    Edit("Count")->setText("1");
    Combo("Picture")->setEditText("a.bmp");
    form->TestClick();
    show = form->findChild<ShowWindow*>();
    ASSERT_NE(show, nullptr);
  }

  VideoExportDialog* StartExport() {
    // The context menu's first entry; the second shows the timeline.
    const QList<QAction*> actions = show->actions();
    EXPECT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.value(0)->text(), QStringLiteral("動画を書き出す"));
    EXPECT_TRUE(actions.value(0)->isEnabled());
    actions.value(0)->trigger();
    return show->findChild<VideoExportDialog*>();
  }

  // Lets the windows run until `done` holds (or a generous limit passes).
  template <typename Done>
  void RunUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 60000) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
  }

  ShowWindow* show = nullptr;
};

TEST_F(VideoExportTest, WritesTheDocumentAsItStandsBesideTheSong) {
  VideoExportDialog* dialog = StartExport();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->isModal());
  RunUntil([&] { return !dialog->Running() && dialog->Text().startsWith("書き出しました"); });
  EXPECT_EQ(dialog->Text(), "書き出しました: " + dir.filePath("song.mp4"));
  EXPECT_TRUE(QFileInfo(dir.filePath("song.mp4")).size() > 1000);
  // Nothing else: the show was built in memory.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{"a.bmp", "song.mid", "song.mp4"}));
}

TEST_F(VideoExportTest, CancellingLeavesNoFileAndClosesTheDialog) {
  QPointer<VideoExportDialog> dialog = StartExport();
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QPushButton*>()->click();
  RunUntil([&] { return dialog.isNull(); });
  EXPECT_TRUE(dialog.isNull());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{"a.bmp", "song.mid"}));
}

}  // namespace
