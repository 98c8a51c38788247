// Undo and redo in the main window: each gesture is one step, and taking it back gives back the
// exact table and the controls as they were.
#include <QAction>
#include <QKeyEvent>

#include "document/project_file.h"
#include "main_window_fixture.h"
#include "show/timeline_widget.h"

namespace {

const char kThreeEvents[] =
    "Varnel WRD Maker Format 1\r\n@\r\n"
    "Intro\r\n16\r\na.bmp\r\n1\r\n0\r\n400\r\n639\r\n479\r\n1\r\n2\r\n16777215\r\nla\r\r\nli\r\n//"
    "\r\n@\r\n"
    "Verse\r\n96\r\n\r\n0\r\n10\r\n20\r\n30\r\n40\r\n0\r\n0\r\n255\r\n//\r\n@\r\n"
    "Chorus\r\n200\r\nc.bmp\r\n2\r\n1\r\n2\r\n3\r\n4\r\n0\r\n1\r\n65280\r\nlu\r\n//\r\n@\r\n";

// What the window shows of the document.
struct Shown {
  QStringList texts;   // Mark, Count, Lyrics, Picture, X1, Y1, X2, Y2
  QList<int> numbers;  // Effect, Align, Naraberu, TimeBar2, swatch, list row, Selection, EventCount
  QStringList lines;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
  *out << shown.texts.join('|').toStdString() << " /";
  for (int n : shown.numbers) *out << ' ' << n;
}

class UndoTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    MakeFile("song.vwm", kThreeEvents);
    form->OpenMidiFile(MakeSong("song.mid", 640));
    ClickLine(1);
  }

  Shown Show() {
    Shown s;
    for (const char* name : {"Mark", "Count", "X1", "Y1", "X2", "Y2"})
      s.texts << Edit(name)->text();
    s.texts << Control<QPlainTextEdit>("Lyrics")->toPlainText() << Combo("Picture")->currentText();
    s.numbers << Combo("Effect")->currentIndex() << Combo("Align")->currentIndex()
              << Control<QCheckBox>("Naraberu")->isChecked() << Bar("TimeBar2")->value()
              << static_cast<int>(
                     Control<QFrame>("Panel2")->palette().color(QPalette::Window).rgb())
              << List()->currentRow() << form->Selection() << Doc().EventCount;
    s.lines = ListLines();
    return s;
  }
  std::string Bytes() { return ProjectFileBytes(Doc()); }
};

struct Gesture {
  const char* name;
  std::function<void(TForm1&, ScriptedDialogs&, ScriptedMediaPlayer&)> make;
};

class GestureStepTest : public UndoTest, public testing::WithParamInterface<Gesture> {};

TEST_P(GestureStepTest, IsOneStepThatUndoAndRedoTakeBackAndMakeAgain) {
  const std::string bytes_before = Bytes();
  const Shown shown_before = Show();
  int changes = 0;
  QObject::connect(form.get(), &TForm1::DocumentChanged, [&] { ++changes; });
  GetParam().make(*form, dialogs, player);
  EXPECT_GT(changes, 0);
  const std::string bytes_after = Bytes();
  const Shown shown_after = Show();
  ASSERT_NE(bytes_after, bytes_before);
  EXPECT_TRUE(form->windowTitle().startsWith('*'));

  form->UndoClick();
  EXPECT_EQ(Bytes(), bytes_before);
  EXPECT_EQ(Show(), shown_before);
  EXPECT_FALSE(form->Modified());
  EXPECT_FALSE(form->windowTitle().startsWith('*'));
  EXPECT_FALSE(form->Editing().CanUndo());

  form->RedoClick();
  EXPECT_EQ(Bytes(), bytes_after);
  EXPECT_EQ(Show(), shown_after);
  EXPECT_TRUE(form->Modified());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, GestureStepTest,
    testing::Values(
        Gesture{"Add", [](TForm1& f, auto&, auto&) { f.AddClick(); }},
        Gesture{"confirmed Delete",
                [](TForm1& f, ScriptedDialogs& d, auto&) {
                  d.answers.push_back(Dialogs::Answer::Yes);
                  f.DeleteClick();
                }},
        Gesture{"edits to one event, then another selected",
                [](TForm1& f, auto&, auto&) {
                  f.findChild<QLineEdit*>("Mark")->setText("Verse 2");
                  f.findChild<QLineEdit*>("X1")->setText("12px");
                  f.findChild<QComboBox*>("Align")->setCurrentIndex(2);
                  f.findChild<QListWidget*>("EventList")->setCurrentRow(0);
                  f.EventListClick();
                }},
        Gesture{"a chosen colour",
                [](TForm1& f, ScriptedDialogs& d, auto&) {
                  d.colours.push_back(QColor(1, 2, 3));
                  f.ColorClick();
                }},
        Gesture{"a dragged rectangle", [](TForm1& f, auto&, auto&) { f.SetTextRect(5, 6, 7, 8); }},
        Gesture{"a release of the time bar",
                [](TForm1& f, auto&, auto&) {
                  f.findChild<QScrollBar*>("TimeBar2")->setValue(300);
                  f.TimeBar2Scroll(8);
                }},
        Gesture{"Time",
                [](TForm1& f, auto&, ScriptedMediaPlayer& p) {
                  p.position = 123;
                  f.Timer1Timer();
                  f.TimeClick();
                }},
        Gesture{"a nudge of two events",
                [](TForm1& f, auto&, auto&) {
                  f.RetimeEvents({{1, 100}, {2, 204}});
                }},
        Gesture{"Ctrl+Right", [](TForm1& f, auto&, auto&) { f.NudgeKey(1, false); }},
        Gesture{"Ctrl+Shift+Left", [](TForm1& f, auto&, auto&) { f.NudgeKey(-1, true); }},
        Gesture{"Add at the press while playing",
                [](TForm1& f, auto&, ScriptedMediaPlayer& p) {
                  p.playing = true;
                  p.song_micros = 1234567;
                  f.AddClick();
                }},
        Gesture{"a timeline marker dragged over several sixteenths",
                [](TForm1& f, auto&, auto&) {
                  TimelineWidget* timeline = f.Timeline();
                  auto mouse = [timeline](QEvent::Type type, double sixteenth) {
                    SendMouse(timeline, type, {timeline->XOf(sixteenth), 50});
                  };
                  mouse(QEvent::MouseButtonPress, 16);
                  for (int to : {18, 21, 25}) mouse(QEvent::MouseMove, to);
                  mouse(QEvent::MouseButtonRelease, 25);
                }}),
    [](const testing::TestParamInfo<Gesture>& info) { return std::to_string(info.index); });

TEST_F(UndoTest, EditsNotYetCommittedAreTheFirstToGo) {
  const Shown before = Show();
  Edit("Mark")->setText("typed");
  form->UndoClick();
  EXPECT_EQ(Show(), before);
  EXPECT_FALSE(form->Modified());
  form->RedoClick();
  EXPECT_EQ(Edit("Mark")->text(), "typed");
  EXPECT_EQ(Mark(1), "typed");
}

TEST_F(UndoTest, UndoingToTheSavedStateClearsTheMarkAndAsksNothing) {
  form->AddClick();
  form->SaveClick();
  form->AddClick();
  EXPECT_EQ(form->windowTitle(), "*Varnel WRD Maker song.mid");
  form->UndoClick();
  EXPECT_EQ(form->windowTitle(), "Varnel WRD Maker song.mid");
  EXPECT_TRUE(form->QuerySave());  // no box: none was queued
  form->UndoClick();
  EXPECT_TRUE(form->Modified());
}

// Undo leaves the song playing; opening another song clears the history.
TEST_F(UndoTest, UndoDoesNotStopTheSongAndOpeningAnotherClearsTheHistory) {
  form->PlayClick();
  form->AddClick();
  form->UndoClick();
  form->RedoClick();
  EXPECT_TRUE(player.IsPlaying());
  form->OpenMidiFile(MakeSong("other.mid", 100));
  EXPECT_FALSE(form->Editing().CanUndo());
  form->UndoClick();
  EXPECT_EQ(Doc().EventCount, 1);
}

TEST_F(UndoTest, TheEventListMenuHoldsTheTwoCommands) {
  EXPECT_EQ(List()->contextMenuPolicy(), Qt::ActionsContextMenu);
  const QList<QAction*> actions = List()->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("元に戻す"));
  EXPECT_EQ(actions[1]->text(), QStringLiteral("やり直し"));
  EXPECT_EQ(actions[2]->text(), QStringLiteral("歌詞の取り込み"));
  EXPECT_EQ(actions[3]->text(), QStringLiteral("ここから打ち直す"));
  EXPECT_EQ(actions[0]->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
  EXPECT_EQ(actions[1]->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  EXPECT_FALSE(actions[0]->isEnabled());
  form->AddClick();
  EXPECT_TRUE(actions[0]->isEnabled());
  actions[0]->trigger();
  EXPECT_EQ(Doc().EventCount, 3);
  EXPECT_TRUE(actions[1]->isEnabled());
  actions[1]->trigger();
  EXPECT_EQ(Doc().EventCount, 4);
}

// Whether the field keeps Ctrl+Z (or another key) for itself rather than leaving it to the
// window's shortcut.
bool FieldTakes(QWidget* field, Qt::KeyboardModifiers modifiers, int key) {
  QKeyEvent override_event(QEvent::ShortcutOverride, key, modifiers);
  override_event.ignore();
  QCoreApplication::sendEvent(field, &override_event);
  return override_event.isAccepted();
}

TEST_F(UndoTest, ATextFieldsOwnTypingUndoComesFirst) {
  QLineEdit* mark = Edit("Mark");
  EXPECT_FALSE(FieldTakes(mark, Qt::ControlModifier, Qt::Key_Z));
  mark->insert("x");
  EXPECT_TRUE(FieldTakes(mark, Qt::ControlModifier, Qt::Key_Z));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
  QCoreApplication::sendEvent(mark, &press);
  EXPECT_EQ(mark->text(), "Verse");
  EXPECT_FALSE(FieldTakes(mark, Qt::ControlModifier, Qt::Key_Z));
  EXPECT_TRUE(FieldTakes(mark, Qt::ControlModifier, Qt::Key_Y));  // its redo first
  EXPECT_TRUE(FieldTakes(mark, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z));
  EXPECT_FALSE(FieldTakes(Combo("Picture"), Qt::ControlModifier, Qt::Key_Z));
  Combo("Picture")->lineEdit()->insert("z");
  EXPECT_TRUE(FieldTakes(Combo("Picture"), Qt::ControlModifier, Qt::Key_Z));
  Control<QPlainTextEdit>("Lyrics")->insertPlainText("y");
  EXPECT_TRUE(FieldTakes(Control<QPlainTextEdit>("Lyrics"), Qt::ControlModifier, Qt::Key_Z));
}

}  // namespace
