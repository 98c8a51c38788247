// Playback and time controls of the main window, with the scripted player.
#include <QScrollBar>
#include <QWheelEvent>
#include <utility>

#include "app/scroll_codes.h"

#include "main_window_fixture.h"

namespace {

class PlaybackTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    song = MakeSong("song.mid", 640);
  }

  void OpenSong() {
    form->OpenMidiFile(song);
    player.calls.clear();
  }
};

const char kTwoEventProject[] =
    "Varnel WRD Maker Format "
    "1\r\n@\r\nIntro\r\n16\r\na.bmp\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
    "//\r\n@\r\nVerse\r\n96\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n//\r\n@\r\n";

TEST_F(PlaybackTest, OpenWithoutProjectCreatesOneNewEventAndClearsModified) {
  form->AddClick();  // events before the first open are dropped
  MakeFile("b.BMP");
  MakeFile("a.bmp");
  MakeFile(".hidden.bmp");
  MakeFile("notes.txt");
  form->OpenMidiFile(song);
  EXPECT_EQ(Doc().EventCount, 1);
  EXPECT_EQ(Utf8(Mark(0)), "新規イベント");
  EXPECT_EQ(form->Selection(), 0);
  EXPECT_FALSE(form->Modified());
  EXPECT_EQ(Utf8(Doc().MidiPath), song.toStdString());
  EXPECT_EQ(Utf8(Doc().MidiFolder), dir.path().toStdString() + "/");
  EXPECT_EQ(Doc().BaseName, "song.");
  EXPECT_EQ(form->windowTitle(), "Varnel WRD Maker song.mid");
  EXPECT_EQ(Bar("TimeBar")->maximum(), 640);
  EXPECT_EQ(Bar("TimeBar2")->maximum(), 640);
  QStringList pictures;
  for (int i = 0; i < Combo("Picture")->count(); ++i) pictures << Combo("Picture")->itemText(i);
  EXPECT_EQ(pictures, (QStringList{"a.bmp", "b.BMP"}));
  EXPECT_EQ(player.calls, (std::vector<std::string>{"Open " + song.toStdString(), "Seek 0"}));
}

// Open asks for the file (a cancel stops); a second open with unsaved changes asks first.
TEST_F(PlaybackTest, ASecondOpenWithUnsavedChangesAsksFirstAndCancelKeepsEverything) {
  dialogs.file_names.push_back("");
  form->OpenClick();
  EXPECT_TRUE(Doc().MidiPath.empty());
  ASSERT_EQ(dialogs.Shown("OpenFile").size(), 1u);
  EXPECT_TRUE(dialogs.Shown("OpenFile")[0].text.contains("*.mid"));
  dialogs.file_names.push_back(song);
  form->OpenClick();
  EXPECT_EQ(Utf8(Doc().MidiPath), song.toStdString());
  player.calls.clear();
  Edit("Mark")->setText("edited");
  const QString other = MakeSong("other.mid", 100);
  dialogs.answers.push_back(Dialogs::Answer::Cancel);
  form->OpenClick();  // no file name queued: the dialog must not run
  ASSERT_EQ(dialogs.Shown("YesNoCancel").size(), 1u);
  EXPECT_EQ(dialogs.Shown("YesNoCancel")[0].text,
            QStringLiteral("変更されています。保存しますか？"));
  EXPECT_EQ(dialogs.Shown("YesNoCancel")[0].caption, song);
  EXPECT_EQ(Utf8(Doc().MidiPath), song.toStdString());
  EXPECT_EQ(Edit("Mark")->text(), "edited");
  EXPECT_TRUE(form->Modified());
  EXPECT_TRUE(player.calls.empty());

  dialogs.answers.push_back(Dialogs::Answer::No);
  dialogs.file_names.push_back(other);
  form->OpenClick();
  EXPECT_EQ(Utf8(Doc().MidiPath), other.toStdString());
  EXPECT_FALSE(QFile::exists(dir.filePath("song.vwm")));
}

TEST_F(PlaybackTest, OpenWithProjectLoadsItsEventsAndAFailedOpenKeepsThem) {
  MakeFile("song.vwm", kTwoEventProject);
  OpenSong();
  EXPECT_EQ(Doc().EventCount, 2);
  EXPECT_EQ(ListLines(), (QStringList{"00000016 Intro", "00000096 Verse"}));
  EXPECT_EQ(Edit("Mark")->text(), "Intro");
  EXPECT_EQ(Combo("Picture")->currentText(), "a.bmp");
  EXPECT_FALSE(form->Modified());
  ClickLine(1);
  Edit("Mark")->setText("edited");
  const QString bad = MakeFile("bad.mid", "garbage");
  player.failures[bad.toStdString()] = "not a MIDI file";
  MakeFile("x.bmp");
  EXPECT_THROW(form->OpenMidiFile(bad), MediaError);
  EXPECT_EQ(Utf8(Doc().MidiPath), song.toStdString());
  EXPECT_EQ(Doc().BaseName, "song.");
  EXPECT_EQ(Doc().EventCount, 2);
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(Edit("Mark")->text(), "edited");
  EXPECT_EQ(player.open_path, song.toStdString());
  EXPECT_EQ(Combo("Picture")->count(), 0);
  EXPECT_EQ(form->windowTitle(), "*Varnel WRD Maker song.mid");
  EXPECT_TRUE(form->Modified());
}

TEST_F(PlaybackTest, ASecondSongWithoutAProjectKeepsNothingOfTheFirst) {
  MakeFile("song.vwm", kTwoEventProject);
  OpenSong();
  const QString other = MakeSong("other.mid", 320);
  form->OpenMidiFile(other);
  ASSERT_EQ(Doc().EventCount, 1);
  EventItem first;
  first.Mark = Sjis("新規イベント");
  first.X1 = 0, first.Y1 = 400, first.X2 = 639, first.Y2 = 479;
  first.Align = kAlignCentre;
  first.Color = 0xFFFFFF;
  EXPECT_EQ(Doc().events[0], first);
  EXPECT_EQ(Doc().events[1], EventItem());  // the first song's second event is gone too
  form->AddKey();  // Insert: a readable lyric rectangle, nothing of the first song
  first.Count = Doc().events[1].Count;
  EXPECT_EQ(Doc().events[1], first);
}

TEST_F(PlaybackTest, TheTimerFollowsTheSongOnlyOnceOneIsOpen) {
  PollAt(50);
  EXPECT_EQ(CounterText(), "Counter");
  OpenSong();
  for (const auto& [position, text] : {std::pair{96, "96 (7:1)"}, std::pair{101, "101 (7:2)"}}) {
    PollAt(position);
    EXPECT_EQ(CounterText(), text);
    EXPECT_EQ(Bar("TimeBar")->value(), position);
  }
}

TEST_F(PlaybackTest, DraggingTheTimeBarFreezesTheDisplayAndSeeksOnRelease) {
  OpenSong();
  player.playing = true;
  PollAt(10);
  QScrollBar* bar = Bar("TimeBar");
  bar->setSliderDown(true);
  bar->setSliderPosition(300);  // a thumb move: code 5
  EXPECT_TRUE(form->Dragging());
  PollAt(20);
  EXPECT_EQ(CounterText(), "10 (1:3)");
  EXPECT_EQ(bar->value(), 300);
  EXPECT_TRUE(player.calls.empty());
  bar->setSliderDown(false);  // release: codes 4 and 8
  EXPECT_FALSE(form->Dragging());
  EXPECT_EQ(player.calls, (std::vector<std::string>{"Seek 300", "Resume"}));
  form->Timer1Timer();
  EXPECT_EQ(CounterText(), "300 (19:4)");
}

TEST_F(PlaybackTest, AnArrowStepWhileStoppedSeeksOneSixteenthOnAtTheEndOfTheStep) {
  OpenSong();
  PollAt(40);
  Bar("TimeBar")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(form->Dragging());
  EXPECT_TRUE(player.calls.empty());
  QCoreApplication::processEvents();  // the end of the step
  EXPECT_FALSE(form->Dragging());
  EXPECT_EQ(player.calls, std::vector<std::string>{"Seek 41"});
  EXPECT_FALSE(player.playing);
  player.calls.clear();
  PollAt(40);
  form->StepKey(-1);  // the step keys move it the same way
  QCoreApplication::processEvents();
  EXPECT_EQ(player.calls, std::vector<std::string>{"Seek 39"});
}

TEST_F(PlaybackTest, ScrollStepsReportTheirWindowsCodesAndEndOfScrollAfterwards) {
  QScrollBar* bar = Bar("TimeBar");
  std::vector<std::pair<int, int>> codes;  // code, the bar's value when it arrived
  QObject::connect(bar->findChild<ScrollCodes*>(), &ScrollCodes::Scroll,
                   [&](int code) { codes.emplace_back(code, bar->value()); });
  struct Case {
    QAbstractSlider::SliderAction action;
    int code;
    int value;  // the bar's value afterwards, from 50 of 0..100
  };
  const Case cases[] = {
      {QAbstractSlider::SliderSingleStepSub, 0, 49}, {QAbstractSlider::SliderSingleStepAdd, 1, 51},
      {QAbstractSlider::SliderPageStepSub, 2, 49},   {QAbstractSlider::SliderPageStepAdd, 3, 51},
      {QAbstractSlider::SliderToMinimum, 6, 0},      {QAbstractSlider::SliderToMaximum, 7, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    bar->setValue(50);
    codes.clear();
    bar->triggerAction(c.action);
    QCoreApplication::processEvents();
    // The step's code comes before the bar takes its position, 8 after.
    EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{c.code, 50}, {8, c.value}}));
    EXPECT_FALSE(form->Dragging());
  }
  bar->setValue(50);
  codes.clear();
  bar->setSliderDown(true);
  bar->setSliderPosition(60);
  bar->setSliderPosition(70);
  bar->setSliderDown(false);
  EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{5, 50}, {5, 60}, {4, 70}, {8, 70}}));
  EXPECT_TRUE(player.calls.empty());  // no song: the bar seeks nothing
}

TEST_F(PlaybackTest, PlayTogglesAndTheCaptionNamesTheNextAction) {
  OpenSong();
  player.sound_notice = "no sound";
  form->PlayClick();
  EXPECT_EQ(Button("Play")->text(), QStringLiteral("停止"));
  EXPECT_TRUE(player.playing);
  // The notice goes to the status line: a box would take the focus from the user's taps.
  EXPECT_TRUE(dialogs.Shown("Notice").empty());
  EXPECT_EQ(Control<QLabel>("Status")->text(), "no sound");
  form->PlayClick();
  EXPECT_EQ(Button("Play")->text(), QStringLiteral("再生"));
  EXPECT_FALSE(player.playing);
  form->PlayClick();
  // The song ends by itself: the caption says "再生" again, the click plays from the start.
  player.playing = false;
  PollAt(640);
  EXPECT_EQ(Button("Play")->text(), QStringLiteral("再生"));
  form->PlayClick();
  EXPECT_EQ(Button("Play")->text(), QStringLiteral("停止"));
  EXPECT_EQ(player.position, 0);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"Play", "Stop", "Play", "Play"}));
}

TEST_F(PlaybackTest, TimeAndAddTakeThePositionDisplay) {
  MakeFile("song.vwm", kTwoEventProject);
  OpenSong();
  PollAt(96);
  form->TimeClick();
  EXPECT_EQ(Bar("TimeBar2")->value(), 96);
  EXPECT_EQ(Edit("Count")->text(), "96");
  EXPECT_TRUE(form->Modified());
  ClickLine(1);
  EXPECT_EQ(Doc().events[0].Count, 96);
  form->AddClick();  // Add takes its time from the display too
  EXPECT_EQ(Doc().events[2].Count, 96);
  EXPECT_EQ(Bar("TimeBar2")->value(), 96);
  PollAt(5000);  // the display can show more than the bar holds
  form->TimeClick();
  EXPECT_EQ(Bar("TimeBar2")->value(), 640);
}

TEST_F(PlaybackTest, ReleasingTimeBar2SetsTheCountTextAndMarksModified) {
  OpenSong();
  QScrollBar* bar = Bar("TimeBar2");
  bar->setSliderDown(true);
  bar->setSliderPosition(123);
  EXPECT_EQ(Edit("Count")->text(), "0");
  EXPECT_FALSE(form->Modified());
  bar->setSliderDown(false);
  EXPECT_EQ(Edit("Count")->text(), "123");
  EXPECT_TRUE(form->Modified());
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Count, 123);
}

TEST_F(PlaybackTest, ATimeTypedIntoCountIsOneStepWithinTheSong) {
  OpenSong();
  const size_t steps = form->Editing().UndoCount();
  const struct {
    const char* typed;
    int32_t count;  // the event's time after Enter
    const char* shown;
  } cases[] = {{"96", 96, "96"}, {"abc", 96, "96"}, {"", 96, "96"}, {"99999", 640, "640"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Edit("Count")->setText(c.typed);
    emit Edit("Count")->editingFinished();
    EXPECT_EQ(Doc().events[0].Count, c.count);
    EXPECT_EQ(Bar("TimeBar2")->value(), c.count);
    EXPECT_EQ(Edit("Count")->text(), c.shown);
  }
  EXPECT_EQ(form->Editing().UndoCount(), steps + 2);
  EXPECT_TRUE(form->Modified());
  form->UndoClick();
  EXPECT_EQ(Doc().events[0].Count, 96);
}

TEST_F(PlaybackTest, AnEventBeyondTheSongEndShowsTheBarAtItsEndAndKeepsItsTimeUntilMoved) {
  MakeFile(
      "song.vwm",
      "Varnel WRD Maker Format 1\r\n@\r\nLate\r\n9999\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
      "0\r\n//\r\n@\r\n");
  OpenSong();
  EXPECT_EQ(Bar("TimeBar2")->value(), 640);
  EXPECT_EQ(Edit("Count")->text(), "9999");
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Count, 9999);
  EXPECT_FALSE(form->Modified());
  Bar("TimeBar2")->setValue(600);
  form->TimeBar2Scroll(8);
  EXPECT_EQ(Doc().events[0].Count, 600);
}

class ScrollMouseTest : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    form->show();
    bar = Bar("TimeBar");
    QObject::connect(bar->findChild<ScrollCodes*>(), &ScrollCodes::Scroll,
                     [this](int code) { codes.push_back(code); });
  }

  QScrollBar* bar = nullptr;
  std::vector<int> codes;
};

TEST_F(ScrollMouseTest, AClickOnTheRightArrowStepsOnceAndEndsOnRelease) {
  bar->setValue(50);
  const QPointF arrow(bar->width() - 3, bar->height() / 2);
  SendMouse(bar, QEvent::MouseButtonPress, arrow);
  QCoreApplication::processEvents();
  EXPECT_EQ(codes, std::vector<int>{1});
  EXPECT_TRUE(form->Dragging());
  SendMouse(bar, QEvent::MouseButtonRelease, arrow);
  QCoreApplication::processEvents();
  EXPECT_EQ(codes, (std::vector<int>{1, 8}));
  EXPECT_EQ(bar->value(), 51);
  EXPECT_FALSE(form->Dragging());
}

TEST_F(ScrollMouseTest, AWheelTurnMovesThePositionWithoutLeavingADrag) {
  form->OpenMidiFile(song);
  player.calls.clear();
  bar->setValue(50);
  const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
  QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(bar, &wheel);
  QCoreApplication::processEvents();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back(), 8);
  EXPECT_FALSE(form->Dragging());
  ASSERT_EQ(player.calls.size(), 1u);
  EXPECT_EQ(player.calls[0], "Seek " + std::to_string(bar->value()));
  EXPECT_NE(bar->value(), 50);
}

TEST_F(PlaybackTest, PlayAndRewindKeysWorkUnlessATextEditHasTheFocus) {
  OpenSong();
  form->show();
  for (const char* edit : {"Mark", "X1"}) {
    SCOPED_TRACE(edit);
    Edit(edit)->setFocus();
    form->PlayKey();
    form->RewindKey();
    EXPECT_TRUE(player.calls.empty());
  }
  Control<QPlainTextEdit>("Lyrics")->setFocus();
  form->PlayKey();
  EXPECT_TRUE(player.calls.empty());
  List()->setFocus();
  form->PlayKey();
  EXPECT_TRUE(player.playing);
  form->RewindKey();
  EXPECT_EQ(player.calls, (std::vector<std::string>{"Play", "Seek 0", "Resume"}));
  form->AddKey();
  EXPECT_EQ(Doc().EventCount, 2);
}

}  // namespace
