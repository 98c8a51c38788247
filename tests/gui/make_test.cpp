// "Make" through the main window and its log window.
#include <QListWidget>
#include <algorithm>

#include "logwindow/tform3.h"
#include "main_window_fixture.h"
#include "make/make_wrd_files.h"
#include "test_files.h"
#include "widgets/cp932_text.h"

namespace {

class RecordingLog : public BuildLog {
 public:
  void BeginLog() override { lines.clear(); }
  void AddLogLine(const std::string& line) override { lines.push_back(line); }
  void EndLog() override {}
  std::vector<std::string> lines;
};

class MakeTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    log = std::make_unique<TForm3>();
    form->AttachLog(log.get());
    WriteBmp8(dir.filePath("a.bmp"), 32, 16, 3);
    OpenSong();
    Combo("Picture")->setEditText("a.bmp");
    Control<QPlainTextEdit>("Lyrics")->setPlainText(QStringLiteral("あいう\nえお"));
    form->SetTextRect(0, 400, 639, 479);
    PollAt(96);
    form->AddClick();
    Combo("Picture")->setEditText("missing.bmp");
    Combo("Effect")->setCurrentIndex(2);
  }

  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < log->ListBox1()->count(); ++i) {
      lines.push_back(ToCp932(log->ListBox1()->item(i)->text()));
    }
    return lines;
  }

  std::unique_ptr<TForm3> log;
};

TEST_F(MakeTest, MakeCommitsTheControlsAndWritesWhatTheBuildWrites) {
  form->MakeClick();
  EXPECT_EQ(Doc().events[1].Picture, "missing.bmp");  // the selected event was committed
  EXPECT_EQ(Doc().events[1].Effect, 2);
  const QByteArray vnl = FileBytes("song.vnl");
  const QByteArray evn = FileBytes("song.evn");
  ASSERT_FALSE(vnl.isEmpty());
  ASSERT_FALSE(evn.isEmpty());
  EXPECT_TRUE(QFile::exists(dir.filePath("a.png")));
  const std::vector<std::string> window_lines = LogLines();

  // The same table built directly, from scratch, gives the same files and the same lines.
  for (const char* name : {"song.vnl", "song.evn", "a.png"}) QFile::remove(dir.filePath(name));
  RecordingLog direct;
  MakeWrdFiles(Doc(), direct);
  EXPECT_EQ(FileBytes("song.vnl"), vnl);
  EXPECT_EQ(FileBytes("song.evn"), evn);
  // The build's lines, then the checks' and the count.
  std::vector<std::string> expected = direct.lines;
  expected.push_back(Sjis("#2 エラー: 画像ファイル " + dir.filePath("missing.bmp").toStdString() +
                          " がありません [missing-picture]"));
  expected.push_back(Sjis("エラー 1 件、警告 0 件"));
  EXPECT_EQ(window_lines, expected);
}

// While the build runs the main window is disabled and refuses to close (asking nothing).
TEST_F(MakeTest, TheLogWindowShowsTheRunAndOkIsEnabledOnlyAtTheEnd) {
  std::vector<bool> main_enabled, ok_enabled, close_accepted;
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    main_enabled.push_back(form->isEnabled());
    ok_enabled.push_back(log->OK()->isEnabled());
    if (close_accepted.empty()) close_accepted.push_back(RequestClose());
  });
  probe.start();
  form->MakeClick();
  probe.stop();
  EXPECT_EQ(close_accepted, std::vector<bool>{false});
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(log->isVisible());
  ASSERT_FALSE(main_enabled.empty());
  // The main window is disabled right after BeginLog's processing and until the end; OK is
  // disabled until EndLog.
  ASSERT_GE(main_enabled.size(), 3u);
  EXPECT_FALSE(ok_enabled.front());
  EXPECT_EQ(std::count(main_enabled.begin() + 1, main_enabled.end(), true), 0);
  EXPECT_TRUE(ok_enabled.back());
  EXPECT_TRUE(form->isEnabled());
  EXPECT_TRUE(log->OK()->isEnabled());
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(Utf8(lines[1]), "BMPファイル読み込み中 " + dir.filePath("a.bmp").toStdString());
}

TEST_F(MakeTest, ASecondRunStartsWithAnEmptyList) {
  form->MakeClick();
  const size_t first = LogLines().size();
  form->MakeClick();
  // The PNG is up to date now: one line fewer ("PNGへ変換中"), nothing left from the first run.
  EXPECT_EQ(LogLines().size(), first - 1);
  EXPECT_EQ(Utf8(LogLines().back()), "エラー 1 件、警告 0 件");
}

TEST_F(MakeTest, MakeDoesNothingBeforeASongIsOpen) {
  TForm1 fresh(player, dialogs);
  TForm3 fresh_log;
  fresh.AttachLog(&fresh_log);
  fresh.AddClick();
  fresh.MakeClick();
  EXPECT_FALSE(fresh_log.isVisible());
  EXPECT_EQ(fresh_log.ListBox1()->count(), 0);
}

}  // namespace
