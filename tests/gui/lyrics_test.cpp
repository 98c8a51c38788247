// The lyrics in the main window: the import as one step, a sheet tapped in page by page,
// retiming from an event on, and taps snapping to the song's syllables.
#include <QAction>
#include <QApplication>
#include <QImage>

#include "app/lyrics_link.h"
#include "lyrics/lyric_song_builder.h"
#include "lyricsdialog/lyrics_import_dialog.h"
#include "main_window_fixture.h"
#include "show/timeline_widget.h"
#include "song/midi_file_reader.h"

namespace {

class LyricsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Syllables at sixteenths 4, 5, 8 and 20 (96 ticks per quarter note).
    player.song = std::make_shared<MidiSong>(ParseMidi(LyricSong({TextTrack(
        0x01, Sjis({{96, "\\ほし"}, {120, "が"}, {192, "/ひかる"}, {480, "\\よる"}}))})));
    OpenSong();
  }
  QAction* MenuEntry(const QString& text) {
    for (QAction* action : List()->actions()) {
      if (action->text() == text) return action;
    }
    ADD_FAILURE() << "no menu entry " << text.toStdString();
    return nullptr;
  }
  QString Status() {
    const QLabel* status = Control<QLabel>("Status");
    return status->isHidden() ? QString() : status->text();
  }
  void TapAt(int32_t position) {
    player.position = position;
    form->AddKey();
  }
};

TEST_F(LyricsTest, TheSongsOwnLyricsFillTheListAsOneStep) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<LyricsImportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->accept();
  });
  MenuEntry(QStringLiteral("歌詞の取り込み"))->trigger();
  EXPECT_EQ(ListLines(), (QStringList{"00000000 ほしが", "00000016 よる"}));
  EXPECT_EQ(Utf8(Doc().events[0].Lyrics), "ほしが\r\nひかる");
  form->UndoClick();
  EXPECT_EQ(ListLines(), (QStringList{"00000000 新規イベント"}));
}

TEST_F(LyricsTest, ASheetIsTappedInPageByPageAndUndoGivesThePageBack) {
  form->Lyrics().QueueSheetFile(MakeFile("歌詞.txt", "はる\n\nなつ\n\nあき\n\nふゆ\n"));
  EXPECT_EQ(Status(), QStringLiteral("次: はる (残り 4)"));
  for (int32_t position : {30, 40, 50, 60}) TapAt(position);
  EXPECT_EQ(ListLines(), (QStringList{"00000000 新規イベント", "00000030 はる", "00000040 なつ",
                                      "00000050 あき", "00000060 ふゆ"}));
  EXPECT_EQ(Status(), QString());
  form->UndoClick();
  EXPECT_EQ(Doc().EventCount, 4);
  EXPECT_EQ(Status(), QStringLiteral("次: ふゆ (残り 1)"));
  form->RedoClick();
  EXPECT_EQ(Doc().EventCount, 5);
  EXPECT_TRUE(form->Lyrics().Queue().Empty());
  TapAt(70);  // nothing waits: Insert adds an event as always
  EXPECT_EQ(Mark(5), Sjis("新規イベント"));
}

TEST_F(LyricsTest, RetimingFromAnEventTimesItAndEveryLaterOneOnePerTap) {
  for (int32_t position : {48, 16}) TapAt(position);  // events at 0, 48, 16
  form->SelectEvent(2);
  MenuEntry(QStringLiteral("ここから打ち直す"))->trigger();
  EXPECT_TRUE(Status().startsWith(QStringLiteral("打ち直し: 次は #3")));
  TapAt(20);
  TapAt(52);
  EXPECT_FALSE(form->Lyrics().Retiming());
  EXPECT_EQ(ListLines(), (QStringList{"00000000 新規イベント", "00000052 新規イベント",
                                      "00000020 新規イベント"}));
  form->UndoClick();
  EXPECT_EQ(Doc().events[1].Count, 48);
  EXPECT_EQ(Doc().events[2].Count, 20);
}

TEST_F(LyricsTest, TapsSnapToTheSyllablesWhichTheTimelineShows) {
  form->Settings().SetSnapChannel(TimingSettings::kSnapSyllables);
  TapAt(7);
  EXPECT_EQ(Doc().events[1].Count, 8);
  TimelineWidget* timeline = form->Timeline();
  timeline->resize(640, 96);
  const QImage strip = timeline->grab().toImage();
  const int x = static_cast<int>(timeline->XOf(20));
  EXPECT_EQ(strip.pixelColor(x, 93), QColor(200, 110, 0));
  EXPECT_NE(strip.pixelColor(x + 4, 93), QColor(200, 110, 0));
}

}  // namespace
