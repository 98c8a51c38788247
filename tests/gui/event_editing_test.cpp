// Editing events in the main window: the list, the selection, adding, deleting and the edits.
#include <QColor>
#include <QTextCursor>

#include "main_window_fixture.h"

namespace {

class EventEditingTest : public MainWindowTest {
 protected:
  QStringList RectEdits() {
    QStringList texts;
    for (const char* name : {"X1", "Y1", "X2", "Y2"}) texts << Edit(name)->text();
    return texts;
  }

  // A click on a line, then Delete with the answer given.
  void DeleteLine(int row, Dialogs::Answer answer) {
    ClickLine(row);
    dialogs.answers.push_back(answer);
    form->DeleteClick();
  }
};

// Three events A, B, C at the times 1, 2, 3, with the third one selected.
void MakeThreeEvents(TForm1& form) {
  const char* marks[] = {"A", "B", "C"};
  for (int i = 0; i < 3; ++i) {
    form.AddClick();
    form.findChild<QLineEdit*>("Mark")->setText(marks[i]);
    form.findChild<QScrollBar*>("TimeBar2")->setValue(i + 1);
  }
  form.SelectEvent(2);  // commit C
  form.RefreshEventList();
}

TEST_F(EventEditingTest, ListLineIsTheTimeInEightDigitsABlankAndTheWholeMark) {
  const QString long_mark(300, QChar(u'あ'));  // longer than the old line buffer
  const struct {
    QString mark;
    int count;
    QString line;
  } rows[] = {{"A", 7, "00000007 A"}, {long_mark, 0, "00000000 " + long_mark}};
  form->AddClick();
  for (const auto& row : rows) {
    Edit("Mark")->setText(row.mark);
    Bar("TimeBar2")->setValue(row.count);
    ClickLine(0);
    EXPECT_EQ(ListLines(), QStringList{row.line});
  }
  EXPECT_EQ(List()->item(0)->sizeHint().height(), 12);
}

TEST_F(EventEditingTest, AddWithoutASongCreatesANewEventAtTimeZero) {
  form->AddClick();
  EXPECT_EQ(Doc().EventCount, 1);
  EXPECT_EQ(Utf8(Mark(0)), "新規イベント");
  EXPECT_EQ(Doc().events[0].Count, 0);
  EXPECT_EQ(Doc().events[0].Effect, 0);
  EXPECT_EQ(form->Selection(), 0);
  EXPECT_EQ(Edit("Mark")->text(), QStringLiteral("新規イベント"));
  EXPECT_EQ(ListLines(), QStringList{QStringLiteral("00000000 新規イベント")});
  EXPECT_TRUE(form->Modified());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("*Varnel WRD Maker"));
  form->AddClick();  // the new event is highlighted
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(Doc().EventCount, 2);
}

TEST_F(EventEditingTest, SelectingCommitsTheEditsAndKeepsModified) {
  MakeThreeEvents(*form);
  ClickLine(0);

  Edit("Mark")->setText("A2");
  ClickLine(1);
  EXPECT_TRUE(form->Modified());
  EXPECT_EQ(Mark(0), "A2");
  EXPECT_EQ(Edit("Mark")->text(), "B");
  EXPECT_EQ(ListLines(), (QStringList{"00000001 A2", "00000002 B", "00000003 C"}));
}

TEST_F(EventEditingTest, ASelectionOfACleanDocumentLeavesItClean) {
  MakeFile(
      "song.vwm",
      "Varnel WRD Maker Format 1\r\n@\r\nA\r\n1\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
      "//\r\n@\r\nB\r\n2\r\n\r\n1\r\n1\r\n2\r\n3\r\n4\r\n1\r\n2\r\n255\r\nla\r\n//\r\n@\r\n");
  OpenSong(400);
  ASSERT_FALSE(form->Modified());
  ClickLine(1);
  EXPECT_FALSE(form->Modified());
  EXPECT_EQ(Edit("Mark")->text(), "B");
  EXPECT_EQ(Edit("Count")->text(), "2");
  EXPECT_EQ(Bar("TimeBar2")->value(), 2);
  EXPECT_EQ(Combo("Effect")->currentIndex(), 1);
  EXPECT_EQ(RectEdits(), (QStringList{"1", "2", "3", "4"}));
  EXPECT_TRUE(Control<QCheckBox>("Naraberu")->isChecked());
  EXPECT_EQ(Combo("Align")->currentIndex(), 2);
  EXPECT_EQ(Control<QPlainTextEdit>("Lyrics")->toPlainText(), "la");  // no hidden empty last line
  EXPECT_EQ(Control<QFrame>("Panel2")->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(form->windowTitle(), "Varnel WRD Maker song.mid");
}

TEST_F(EventEditingTest, EveryEditMarksTheDocumentModified) {
  OpenSong(400);
  auto expect_change = [&](const char* what, auto change) {
    SCOPED_TRACE(what);
    form->SaveClick();
    ASSERT_FALSE(form->Modified());
    change();
    EXPECT_TRUE(form->Modified());
    EXPECT_TRUE(form->windowTitle().startsWith('*'));
  };
  expect_change("Mark", [&] { Edit("Mark")->setText("x"); });
  expect_change("Lyrics", [&] { Control<QPlainTextEdit>("Lyrics")->setPlainText("la"); });
  expect_change("Effect", [&] { Combo("Effect")->setCurrentIndex(2); });
  expect_change("Align", [&] { Combo("Align")->setCurrentIndex(1); });
  for (const char* edit : {"X1", "Y1", "X2", "Y2"}) {
    expect_change(edit, [&] { Edit(edit)->setText("9"); });
  }
  expect_change("Picture", [&] { Combo("Picture")->setEditText("a.bmp"); });
  expect_change("Naraberu", [&] { Control<QCheckBox>("Naraberu")->click(); });
  expect_change("SetTextRect", [&] { form->SetTextRect(1, 2, 3, 4); });
  expect_change("TimeBar2 release", [&] {
    Bar("TimeBar2")->setValue(Bar("TimeBar2")->value() + 7);
    form->TimeBar2Scroll(8);
  });
}

TEST_F(EventEditingTest, RectangleEditsCommitByTheNumberRules) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {{"12px", 12}, {"abc", 0}, {" -5", -5}, {"+7", 7}, {"", 0}, {"-", 0}};
  form->AddClick();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (const char* edit : {"X1", "Y1", "X2", "Y2"}) Edit(edit)->setText(c.text);
    form->SelectEvent(0);
    const EventItem& item = Doc().events[0];
    EXPECT_EQ((std::vector<int32_t>{item.X1, item.Y1, item.X2, item.Y2}),
              std::vector<int32_t>(4, c.value));
  }
}

TEST_F(EventEditingTest, DraggedRectangleFillsTheEditsAndTheEvent) {
  form->AddClick();
  form->SetTextRect(20, 50, 100, 300);
  EXPECT_EQ(RectEdits(), (QStringList{"20", "50", "100", "300"}));
  const EventItem& item = Doc().events[0];
  EXPECT_EQ((std::vector<int32_t>{item.X1, item.Y1, item.X2, item.Y2}),
            (std::vector<int32_t>{20, 50, 100, 300}));
}

TEST_F(EventEditingTest, DeletingAMiddleEventLoadsTheOneThatMovedIntoItsPlace) {
  MakeThreeEvents(*form);
  DeleteLine(1, Dialogs::Answer::Yes);
  ASSERT_EQ(dialogs.Shown("YesNo").size(), 1u);
  EXPECT_EQ(dialogs.Shown("YesNo")[0].text, QStringLiteral("削除します"));
  EXPECT_EQ(dialogs.Shown("YesNo")[0].caption, "B");
  EXPECT_EQ(Doc().EventCount, 2);
  EXPECT_EQ(ListLines(), (QStringList{"00000001 A", "00000003 C"}));
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(form->Selection(), 1);
  // The controls show C, and the next selection does not write B over it.
  EXPECT_EQ(Edit("Mark")->text(), "C");
  ClickLine(0);
  EXPECT_EQ(Mark(1), "C");
  EXPECT_EQ(Doc().events[1].Count, 3);
  EXPECT_TRUE(form->Modified());
}

TEST_F(EventEditingTest, DeletingTheLastEventHighlightsTheNewLastLine) {
  MakeThreeEvents(*form);
  DeleteLine(2, Dialogs::Answer::Yes);
  EXPECT_EQ(Doc().EventCount, 2);
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(form->Selection(), 1);
  EXPECT_EQ(Edit("Mark")->text(), "B");
  ClickLine(0);
  EXPECT_EQ(ListLines(), (QStringList{"00000001 A", "00000002 B"}));
}

TEST_F(EventEditingTest, AddAfterADeletionTakesNothingOfTheOldLastSlot) {
  MakeThreeEvents(*form);
  Combo("Picture")->setEditText("c.bmp");
  Control<QPlainTextEdit>("Lyrics")->setPlainText("la");
  form->SetTextRect(1, 2, 3, 4);
  Control<QCheckBox>("Naraberu")->setChecked(true);
  Combo("Align")->setCurrentIndex(0);
  ClickLine(0);  // commit C's fields
  DeleteLine(1, Dialogs::Answer::Yes);
  form->AddClick();  // at 0, before every event: the layout where lyrics belong
  const EventItem& added = Doc().events[2];
  EXPECT_EQ(Utf8(added.Mark), "新規イベント");
  EXPECT_EQ(added.Picture, "");
  EXPECT_EQ(added.Lyrics, "");
  EXPECT_EQ(added.X1, 0);
  EXPECT_EQ(added.Y2, 479);
  EXPECT_EQ(added.Naraberu, 0);
  EXPECT_EQ(added.Align, 2);
  EXPECT_EQ(added.Effect, 0);
}

TEST_F(EventEditingTest, DeclinedDeletionChangesNothing) {
  form->OpenMidiFile(MakeSong("song.mid", 400));
  MakeThreeEvents(*form);
  const auto before = Doc().events;
  form->SaveClick();
  const size_t steps = form->Editing().UndoCount();
  DeleteLine(2, Dialogs::Answer::No);
  EXPECT_EQ(Doc().EventCount, 4);
  EXPECT_EQ(Doc().events, before);
  EXPECT_FALSE(form->Modified());
  EXPECT_EQ(form->Editing().UndoCount(), steps);
}

TEST_F(EventEditingTest, AClickInAnEmptyListAndDeletingTheLastEventDoNothing) {
  form->EventListClick();
  EXPECT_EQ(form->Selection(), -1);
  EXPECT_FALSE(form->Modified());
  form->AddClick();
  form->DeleteClick();  // asks nothing: no answer is queued
  EXPECT_EQ(Doc().EventCount, 1);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(EventEditingTest, AddWith1024EventsRefusesInTheStatusLineWithoutABox) {
  QByteArray project("Varnel WRD Maker Format 1\r\n@\r\n");
  for (int i = 0; i < EventTable::kCapacity - 1; ++i) {
    project += "e\r\n1\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n//\r\n@\r\n";
  }
  MakeFile("song.vwm", project);
  form->OpenMidiFile(MakeSong("song.mid", 100));
  ASSERT_EQ(Doc().EventCount, 1023);
  form->AddClick();
  ASSERT_EQ(Doc().EventCount, 1024);
  ASSERT_TRUE(dialogs.shown.empty());
  player.playing = true;
  form->AddClick();
  EXPECT_EQ(Doc().EventCount, 1024);
  EXPECT_TRUE(dialogs.shown.empty());
  const auto* status = form->findChild<QLabel*>("Status");
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(status->isHidden());
  EXPECT_EQ(status->text(), "イベントは1024個までです。これ以上追加できません。");
  EXPECT_EQ(List()->count(), 1024);
}

TEST_F(EventEditingTest, AChosenColourSetsTheSwatchAndTheEventACancelledOneNothing) {
  OpenSong(400);
  auto swatch = [this] { return Control<QFrame>("Panel2")->palette().color(QPalette::Window); };
  const QColor before = swatch();
  dialogs.colours.push_back(std::nullopt);
  form->ColorClick();
  EXPECT_EQ(swatch(), before);
  EXPECT_FALSE(form->Modified());
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Color, 0xFFFFFFu);  // a new song's first event: white
  dialogs.colours.push_back(QColor(0x11, 0x22, 0x33));
  form->ColorClick();
  EXPECT_EQ(swatch(), QColor(0x11, 0x22, 0x33));
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Color, 0x332211u);
  dialogs.colours.push_back(QColor(0, 0, 0));
  form->ColorClick();
  EXPECT_EQ(dialogs.last_initial_colour, QColor(0x11, 0x22, 0x33));
}

TEST_F(EventEditingTest, PictureButtonPutsTheChosenPathIntoThePictureText) {
  form->AddClick();
  dialogs.file_names.push_back("/pics/sky.bmp");
  form->PictureButtonClick();
  EXPECT_EQ(Combo("Picture")->currentText(), "/pics/sky.bmp");
  EXPECT_TRUE(dialogs.Shown("OpenFile")[0].text.contains("*.bmp"));
  dialogs.file_names.push_back("");
  form->PictureButtonClick();
  EXPECT_EQ(Combo("Picture")->currentText(), "/pics/sky.bmp");
}

TEST_F(EventEditingTest, LyricLinesAreStoredWithCrLf) {
  form->AddClick();
  Control<QPlainTextEdit>("Lyrics")->setPlainText(QStringLiteral("あいう\nえお"));
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Lyrics, Sjis("あいう\r\nえお"));
}

TEST_F(EventEditingTest, LyricsFromAProjectShowNoHiddenLastLine) {
  const QByteArray project =
      QByteArray(
          "Varnel WRD Maker Format 1\r\n@\r\nA\r\n16\r\n\r\n0\r\n0\r\n400\r\n639\r\n"
          "479\r\n0\r\n2\r\n16777215\r\n") +
      QByteArray::fromStdString(Sjis("ほしが\r\r\nよる\r\r\n")) + "//\r\n@\r\n";
  MakeFile("song.vwm", project);
  OpenSong();
  auto* memo = Control<QPlainTextEdit>("Lyrics");
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("ほしが\nよる"));
  EXPECT_FALSE(form->Modified());
  form->SaveClick();
  EXPECT_EQ(FileBytes("song.vwm"), project);  // opened and saved: not a byte changed
  QTextCursor end = memo->textCursor();
  end.movePosition(QTextCursor::End);  // Ctrl+End
  memo->setTextCursor(end);
  memo->insertPlainText(QStringLiteral("X"));
  form->SelectEvent(0);
  EXPECT_EQ(Doc().events[0].Lyrics, Sjis("ほしが\r\nよるX"));  // the last line continued
}

TEST_F(EventEditingTest, RefreshKeepsTheTopVisibleLine) {
  form->show();
  for (int i = 0; i < 100; ++i) form->AddClick();
  List()->verticalScrollBar()->setValue(50);
  form->RefreshEventList();
  EXPECT_EQ(List()->verticalScrollBar()->value(), 50);
}

}  // namespace
