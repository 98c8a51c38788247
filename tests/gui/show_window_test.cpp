// The show window: the document as it stands, played at the song position.
#include <QAction>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <functional>

#include "main_window_fixture.h"
#include "make/build_show.h"
#include "show/show_window.h"
#include "show/timeline_widget.h"
#include "showmodel/build_picture_source.h"
#include "song/wrd_time.h"
#include "test_files.h"
#include "text/cp932.h"
#include "wrdplayer/show_player.h"

namespace {

class ShowWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    WriteBmp8(dir.filePath("a.bmp"), 200, 100, 40);
    WriteBmp8(dir.filePath("b.bmp"), 30, 20, 90);
    player.song->tempo = TempoMap(96, {{0, 400000}});
    form->OpenMidiFile(MakeSong("song.mid", 640));
    SetEvent(0, 16, "a.bmp", "first");
    form->AddClick();
    SetEvent(1, 96, "b.bmp", "second");
    Control<QCheckBox>("Naraberu")->click();
    ClickLine(0);
    form->TestClick();
    show = form->findChild<ShowWindow*>();
    ASSERT_NE(show, nullptr);
  }

  void SetEvent(int row, int count, const QString& picture, const QString& lyrics) {
    ClickLine(row);
    Edit("Count")->setText(QString::number(count));
    Control<QScrollBar>("TimeBar2")->setValue(count);
    Combo("Picture")->setEditText(picture);
    Control<QPlainTextEdit>("Lyrics")->setPlainText(lyrics);
    form->SetTextRect(10, 400, 600, 440);
  }

  // The player core's screen for the document as the window reads it, at a tick, as RGB.
  QImage CoreScreen(int64_t tick) {
    auto table = std::make_unique<EventTable>();
    form->ReadWorkingDocument(*table);
    PictureCache cache;
    ShowBuild build = BuildShow(*table, cache);
    ShowPlayer core(std::move(build.Vnl),
                    std::make_unique<BuildPictureSource>(std::move(build.Pictures)));
    QImage image(Screen::kWidth, Screen::kHeight, QImage::Format_RGB888);
    core.ScreenAt(tick).ToRgb(image.bits());
    return image.convertToFormat(QImage::Format_RGB32);
  }

  void PressKey(Qt::Key key, const char* text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(show, &press);
  }

  QImage Grabbed() { return show->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  ShowWindow* show = nullptr;
};

TEST_F(ShowWindowTest, TheTestButtonOpensTheShowAtOneToOneAndKeyTwoDoublesIt) {
  EXPECT_TRUE(show->isVisible());
  EXPECT_EQ(show->windowTitle(), "テスト表示");
  EXPECT_FALSE(show->isModal());
  EXPECT_EQ(show->size(), QSize(640, 480));
  PressKey(Qt::Key_2, "2");
  EXPECT_EQ(show->size(), QSize(1280, 960));
  PressKey(Qt::Key_1, "1");
  EXPECT_EQ(show->size(), QSize(640, 480));
  // The offscreen platform activates every window it shows, so the request is what is checked;
  // under X11 the main window keeps the focus and Insert goes on tapping.
  EXPECT_TRUE(show->testAttribute(Qt::WA_ShowWithoutActivating));
}

// The timeline lies below the screen, which stays as it was; toggling it twice gives the window
// back as it was.
TEST_F(ShowWindowTest, TheTimelineTogglesBelowTheScreen) {
  player.position = 20;
  QAction* menu = nullptr;
  for (QAction* action : show->actions()) {
    if (action->text() == "タイムライン") menu = action;
  }
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
  const std::function<void()> toggles[] = {[&] { form->TimelineKey(); }, [&] { menu->trigger(); }};
  for (int scale : {1, 2}) {
    for (const auto& toggle : toggles) {
      show->SetScale(scale);
      show->Step();
      const QSize size = show->size();
      const QImage pixels = Grabbed();
      toggle();
      EXPECT_TRUE(show->TimelineShown());
      EXPECT_TRUE(menu->isChecked());
      EXPECT_EQ(show->size(), size + QSize(0, 96));
      EXPECT_EQ(form->Timeline()->parentWidget(), show);
      EXPECT_EQ(form->Timeline()->geometry(), QRect(0, 480 * scale, 640 * scale, 96));
      EXPECT_EQ(Grabbed().copy(QRect(QPoint(0, 0), size)), pixels);
      toggle();
      EXPECT_TRUE(show->isVisible());
      EXPECT_FALSE(show->TimelineShown());
      EXPECT_FALSE(menu->isChecked());
      EXPECT_EQ(show->size(), size);
      EXPECT_EQ(Grabbed(), pixels);
    }
  }
  // Ctrl+T brings a hidden show back with the timeline; a new scale lays it out again.
  show->SetScale(1);
  show->hide();
  form->TimelineKey();
  EXPECT_TRUE(show->isVisible());
  EXPECT_TRUE(form->Timeline()->isVisible());
  EXPECT_EQ(show->size(), QSize(640, 576));
  PressKey(Qt::Key_2, "2");
  EXPECT_EQ(form->Timeline()->geometry(), QRect(0, 960, 1280, 96));
  EXPECT_EQ(show->size(), QSize(1280, 1056));
}

TEST(ShowWindowPlacement, BesideTheMainWindowWhereTheScreenHasRoom) {
  const QSize show(640, 480);
  const QRect room(0, 0, 1600, 900);
  struct Row {
    QRect owner;
    std::optional<QPoint> at;
  };
  const Row rows[] = {
      {QRect(0, 0, 684, 414), QPoint(692, 0)},        // right
      {QRect(900, 100, 684, 414), QPoint(252, 100)},  // no room right: left
      {QRect(500, 600, 684, 414), std::nullopt},      // no room either side
      {QRect(0, 700, 684, 414), QPoint(692, 420)},    // kept on the screen
      {QRect(0, 0, 952, 414), QPoint(960, 0)},        // just fits
      {QRect(0, 0, 953, 414), std::nullopt},          // one pixel too wide
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.owner.x());
    EXPECT_EQ(ShowWindow::BesideOwner(row.owner, show, room), row.at);
  }
}

// Stopped it shows the player's screen at the time bar; playing, at the heard song time, which
// is song time: the speed changes nothing there.
TEST_F(ShowWindowTest, ItShowsThePlayersScreenAtTheTimeBarOrTheHeardSongTime) {
  for (int32_t position : {0, 100, 300, 20}) {
    SCOPED_TRACE(position);
    player.position = position;
    show->Step();
    EXPECT_EQ(show->ShownTick(), position * 12);
    EXPECT_EQ(Grabbed(), CoreScreen(position * 12));
  }
  EXPECT_EQ(Grabbed().pixel(320, 240), qRgb(40, 40, 40));  // a.bmp, centred
  EXPECT_EQ(Grabbed().pixel(10, 10), qRgb(0, 0, 0));
  player.playing = true;
  player.speed = 50;
  for (int64_t micros : {0, 777777, 1234567, 3000000}) {
    player.song_micros = micros;
    show->Step();
    EXPECT_EQ(show->ShownTick(), WrdTickAtMicros(player.song->tempo, micros));
    EXPECT_EQ(Grabbed(), CoreScreen(show->ShownTick()));
  }
}

TEST_F(ShowWindowTest, TheWorkingCopyIsShownWithoutCommittingItOrTouchingModified) {
  player.position = 20;
  form->SaveProject();
  show->Step();
  const QImage before = Grabbed();
  const int builds = show->Model().Builds();
  Control<QCheckBox>("Naraberu")->click();
  const bool afterEdit = form->Modified();
  show->Step();
  EXPECT_EQ(show->Model().Builds(), builds + 1);
  EXPECT_NE(Grabbed(), before);
  EXPECT_EQ(Grabbed(), CoreScreen(240));
  EXPECT_EQ(Doc().events[0].Naraberu, 0);  // not committed
  EXPECT_EQ(form->Modified(), afterEdit);
  show->Step();
  EXPECT_EQ(show->Model().Builds(), builds + 1);  // nothing changed: no build
}

TEST_F(ShowWindowTest, ADoubleClickOnALineSeeksTheSongToTheEvent) {
  player.calls.clear();
  // As the user makes it: a click (which rebuilds the list's lines), then a double click.
  ClickLine(1);
  SendMouse(List()->viewport(), QEvent::MouseButtonDblClick, {20, 6 + 12});
  EXPECT_EQ(player.calls, std::vector<std::string>{"Seek 96"});
  EXPECT_EQ(Bar("TimeBar")->value(), 96);
  show->Step();
  EXPECT_EQ(show->ShownTick(), 96 * 12);
}

TEST_F(ShowWindowTest, ARefusedPictureShowsWhyOverTheScreen) {
  MakeFile("deep.bmp", "BM not a picture");
  Combo("Picture")->setEditText("deep.bmp");
  player.position = 20;
  show->Step();
  EXPECT_TRUE(show->Refusal().contains("deep.bmp"));
  EXPECT_TRUE(show->Refusal().contains("256"));
  player.position = 100;
  show->Step();
  EXPECT_TRUE(show->Refusal().isEmpty());
}

}  // namespace
