// The main window's timing tools with the scripted player: taps, speed, nudges, notices in the
// status line, the settings file and the timeline.
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>

#include "app/timing_dialog.h"
#include "logwindow/tform3.h"
#include "show/timeline_widget.h"

#include "main_window_fixture.h"

namespace {

constexpr int64_t kSixteenth = 125000;  // microseconds at 120 BPM

class TimingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    form->OpenMidiFile(MakeSong("song.mid", 640));
    player.calls.clear();
  }
  // Events (table order) at these times; the first is selected.
  void Events(std::initializer_list<int32_t> counts) {
    for (size_t i = 1; i < counts.size(); ++i) form->AddClick();
    int i = 0;
    for (int32_t count : counts) {
      form->SelectEvent(i);
      Bar("TimeBar2")->setValue(count);
      ++i;
    }
    form->SelectEvent(0);
  }
  std::vector<int32_t> Counts() {
    std::vector<int32_t> counts;
    for (int i = 0; i < Doc().EventCount; ++i) counts.push_back(Doc().events[i].Count);
    return counts;
  }
};

TEST_F(TimingTest, ATapStoresTheSixteenthOfThePressLessTheDelay) {
  struct Case {
    int64_t heard;
    bool playing;
    int delay_ms;
    int speed;
    int32_t count;
  } cases[] = {
      // The rounding and the delay's scaling are the tap rule's own (tested with it); here the
      // window hands it the delay setting and the speed, and no delay when stopped.
      {1000000, true, 100, 100, 7},
      {1000000, true, 100, 50, 8},
      {1000000, false, 300, 100, 8},  // stopped: no delay
      {80000000, true, 0, 100, 640},  // clamped to the song
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heard);
    player.song_micros = c.heard;
    player.playing = c.playing;
    player.speed = c.speed;
    form->Settings().SetReactionDelayMs(c.delay_ms);
    player.position = 3;  // the last poll's position plays no part
    form->AddKey();
    EXPECT_EQ(Doc().events[Doc().EventCount - 1].Count, c.count);
    EXPECT_TRUE(CounterText().startsWith(QString::number(c.count) + " ("));
  }
  player.song_micros = 3 * kSixteenth + 1000;
  form->TimeClick();
  EXPECT_EQ(Bar("TimeBar2")->value(), 3);
}

TEST_F(TimingTest, SpeedKeysStepThroughTheSpeedsAndTheDisplayShowsThem) {
  const struct {
    int direction;
    int speed;
    const char* text;
  } steps[] = {{-1, 75, "0 (1:1) 75%"}, {-1, 50, "0 (1:1) 50%"}, {-1, 25, "0 (1:1) 25%"},
               {-1, 25, "0 (1:1) 25%"}, {1, 50, "0 (1:1) 50%"},  {1, 75, "0 (1:1) 75%"},
               {1, 100, "0 (1:1)"},     {1, 100, "0 (1:1)"}};
  for (const auto& step : steps) {
    form->SpeedKey(step.direction);
    EXPECT_EQ(player.speed, step.speed);
    EXPECT_EQ(form->Settings().Speed(), step.speed);
    EXPECT_EQ(CounterText(), step.text);
  }
}

TEST_F(TimingTest, NudgesMoveTheSelectedEventOrItAndEveryLaterOne) {
  Events({16, 96, 48, 16, 10});
  form->SelectEvent(2);
  const struct {
    int direction;
    bool later;
    std::vector<int32_t> counts;
  } steps[] = {
      {1, false, {16, 96, 49, 16, 10}},
      {-1, false, {16, 96, 48, 16, 10}},
      {1, true, {16, 97, 49, 16, 10}},
      {-1, true, {16, 96, 48, 16, 10}},
  };
  for (const auto& step : steps) {
    form->NudgeKey(step.direction, step.later);
    form->SelectEvent(2);  // commits the controls
    EXPECT_EQ(Counts(), step.counts);
    EXPECT_TRUE(form->Modified());
  }
  EXPECT_EQ(Edit("Count")->text(), "48");
  form->SelectEvent(4);
  for (int i = 0; i < 12; ++i) form->NudgeKey(-1, true);  // stops at 0, keeping the spacing
  form->SelectEvent(4);
  EXPECT_EQ(Counts(), (std::vector<int32_t>{6, 86, 38, 6, 0}));
}

TEST_F(TimingTest, RepairsAndSoundNoticesGoToTheStatusLineNotToABox) {
  player.repair_notice = "MIDI ファイルの傷を補って再生します: x";
  form->OpenMidiFile(MakeSong("other.mid", 10));
  EXPECT_EQ(Control<QLabel>("Status")->text(), QString::fromStdString(player.repair_notice));
  EXPECT_TRUE(dialogs.shown.empty());
  player.repair_notice.clear();
  form->OpenMidiFile(MakeSong("third.mid", 10));
  EXPECT_TRUE(Control<QLabel>("Status")->isHidden());
}

TEST_F(TimingTest, SettingsAreKeptInTheirFileAndBadValuesGiveTheDefaults) {
  const QString path = dir.filePath("config/varnel-wrd-maker/settings.ini");
  {
    TimingSettings settings(path);  // missing: defaults
    EXPECT_EQ(settings.ReactionDelayMs(), 0);
    EXPECT_EQ(settings.Speed(), 100);
    settings.SetReactionDelayMs(120);
    settings.SetSnapChannel(10);
    settings.SetSpeed(50);
  }
  TimingSettings read(path);
  EXPECT_EQ(read.ReactionDelayMs(), 120);
  EXPECT_EQ(read.SnapChannel(), 10);
  EXPECT_EQ(read.Speed(), 50);
  form->UseSettingsFile(path);
  EXPECT_EQ(player.speed, 50);

  MakeFile("bad.ini", "[timing]\nreaction_delay_ms=lots\nsnap_channel=99\nspeed_percent=60\n");
  TimingSettings bad(dir.filePath("bad.ini"));
  EXPECT_EQ(bad.ReactionDelayMs(), 0);
  EXPECT_EQ(bad.SnapChannel(), 0);
  EXPECT_EQ(bad.Speed(), 100);
  MakeFile("binary.ini", QByteArray("\x00\xff[[\x01=", 6));
  EXPECT_EQ(TimingSettings(dir.filePath("binary.ini")).ReactionDelayMs(), 0);
}

TEST_F(TimingTest, TheTimelineSeeksRetimesAndSelects) {
  Events({16, 96, 48});
  TimelineWidget* timeline = form->Timeline();
  timeline->resize(800, 100);
  timeline->show();
  auto mouse = [timeline](QEvent::Type type, double x) { SendMouse(timeline, type, {x, 50}); };
  // A click away from the markers seeks there.
  mouse(QEvent::MouseButtonPress, timeline->XOf(30));
  mouse(QEvent::MouseButtonRelease, timeline->XOf(30));
  EXPECT_EQ(player.calls, std::vector<std::string>{"Seek 30"});
  // Dragging the marker at 48 to 52 retimes its event.
  mouse(QEvent::MouseButtonPress, timeline->XOf(48) + 1);
  mouse(QEvent::MouseMove, timeline->XOf(52));
  mouse(QEvent::MouseButtonRelease, timeline->XOf(52));
  form->SelectEvent(0);
  EXPECT_EQ(Counts(), (std::vector<int32_t>{16, 96, 52}));
  EXPECT_TRUE(form->Modified());
  // A double click on a marker selects its event in the main window.
  mouse(QEvent::MouseButtonDblClick, timeline->XOf(96));
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(List()->currentRow(), 1);
  timeline->close();
}

TEST_F(TimingTest, TheLogWindowReopensWhereAndAsLargeAsTheUserLeftIt) {
  const QString ini = dir.filePath("settings.ini");
  form->UseSettingsFile(ini);
  TForm3 log;
  form->AttachLog(&log);
  log.show();
  log.move(50, 60);
  log.resize(500, 300);
  log.close();
  // The next run: another main window and log window with the same settings file.
  TForm1 next(player, dialogs);
  next.UseSettingsFile(ini);
  TForm3 next_log;
  next.AttachLog(&next_log);
  next_log.show();
  EXPECT_EQ(next_log.pos(), QPoint(50, 60));
  EXPECT_EQ(next_log.size(), QSize(500, 300));
}

TEST_F(TimingTest, TheTimingDialogKeepsWhatOkConfirms) {
  TimingDialog dialog(form->Settings());
  dialog.findChild<QSpinBox*>("Delay")->setValue(80);
  dialog.findChild<QComboBox*>("Snap")->setCurrentIndex(4);
  dialog.reject();
  EXPECT_EQ(form->Settings().ReactionDelayMs(), 0);
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(form->Settings().ReactionDelayMs(), 80);
  EXPECT_EQ(form->Settings().SnapChannel(), 4);
}

TEST_F(TimingTest, WhileMeasuringEveryKeyIsATapAndNoButtonTakesIt) {
  TimingDialog dialog(form->Settings());
  dialog.show();
  auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  QPushButton* measure = nullptr;
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("遅れを測る")) measure = button;
  }
  ASSERT_NE(measure, nullptr);
  measure->click();
  EXPECT_FALSE(ok->isEnabled());
  for (QWidget* target : {static_cast<QWidget*>(ok), static_cast<QWidget*>(measure)}) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent space(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
      QCoreApplication::sendEvent(target, &space);
    }
  }
  EXPECT_TRUE(dialog.isVisible());  // not closed by a tap
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_EQ(form->Settings().ReactionDelayMs(), 0);  // nothing kept
}

TEST_F(TimingTest, TheTapButtonsTakeThePositionOfThePressNotOfTheRelease) {
  player.playing = true;
  for (const char* name : {"Add", "Time"}) {
    player.song_micros = 8 * kSixteenth;
    SendMouse(Button(name), QEvent::MouseButtonPress, {5, 5});
    player.song_micros = 10 * kSixteenth;
    SendMouse(Button(name), QEvent::MouseButtonRelease, {5, 5});
  }
  EXPECT_EQ(Doc().EventCount, 2);
  EXPECT_EQ(Doc().events[1].Count, 8);
  EXPECT_EQ(Bar("TimeBar2")->value(), 8);
}

}  // namespace
