// Saving, the unsaved-changes question, closing the window and the error box.
#include "app/application.h"
#include "document/project_file.h"
#include "main_window_fixture.h"

namespace {

using ProjectTest = MainWindowTest;

TEST_F(ProjectTest, SaveCommitsTheControlsWritesTheProjectAndClearsModified) {
  OpenSong();
  Edit("Mark")->setText("A");
  Bar("TimeBar2")->setValue(96);
  form->SaveClick();
  EXPECT_FALSE(form->Modified());
  EXPECT_EQ(form->windowTitle(), "Varnel WRD Maker song.mid");
  EXPECT_EQ(FileBytes("song.vwm"),
            QByteArray("Varnel WRD Maker Format 1\r\n@\r\nA\r\n96\r\n\r\n0\r\n0\r\n400\r\n"
                       "639\r\n479\r\n0\r\n2\r\n16777215\r\n//\r\n@\r\n"));
}

TEST_F(ProjectTest, SaveAndMakeDoNothingWithoutASong) {
  form->AddClick();
  form->SaveClick();
  form->MakeClick();
  EXPECT_TRUE(form->Modified());
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(QFile::exists("vwm"));
}

TEST_F(ProjectTest, QuerySaveAsksOnlyForChangesYesSavesNoDeclinesCancelStops) {
  EXPECT_TRUE(form->QuerySave());
  EXPECT_TRUE(dialogs.shown.empty());
  OpenSong();
  struct Case {
    Dialogs::Answer answer;
    bool go_ahead;
    bool saved;
  };
  const Case cases[] = {{Dialogs::Answer::Yes, true, true},
                        {Dialogs::Answer::No, true, false},
                        {Dialogs::Answer::Cancel, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    QFile::remove(dir.filePath("song.vwm"));
    Edit("Mark")->setText(QStringLiteral("changed %1").arg(static_cast<int>(c.answer)));
    dialogs.answers.push_back(c.answer);
    EXPECT_EQ(form->QuerySave(), c.go_ahead);
    EXPECT_EQ(QFile::exists(dir.filePath("song.vwm")), c.saved);
    EXPECT_EQ(form->Modified(), !c.saved);
    EXPECT_EQ(dialogs.shown.back().caption, song);
  }
}

TEST_F(ProjectTest, ClosingAsksAndCancelKeepsTheWindowOpen) {
  OpenSong();
  Edit("Mark")->setText("changed");
  dialogs.answers.push_back(Dialogs::Answer::Cancel);
  EXPECT_FALSE(RequestClose());
  dialogs.answers.push_back(Dialogs::Answer::Yes);
  EXPECT_TRUE(RequestClose());
  EXPECT_FALSE(FileBytes("song.vwm").isEmpty());
}

TEST_F(ProjectTest, ClosingWithUnsavedChangesButNoSongKeepsTheWindowOpenOnYes) {
  form->AddClick();
  dialogs.answers.push_back(Dialogs::Answer::Yes);
  EXPECT_FALSE(RequestClose());
  ASSERT_EQ(dialogs.Shown("YesNoCancel").size(), 1u);
  EXPECT_EQ(dialogs.Shown("YesNoCancel")[0].caption, "");
  ASSERT_EQ(dialogs.Shown("Notice").size(), 1u);
  EXPECT_TRUE(dialogs.Shown("Notice")[0].text.contains(QStringLiteral("保存できません")));
  EXPECT_TRUE(form->Modified());
  dialogs.answers.push_back(Dialogs::Answer::No);
  EXPECT_TRUE(RequestClose());
}

class ErrorBoxTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    app()->SetDialogs(&dialogs);
  }
  void TearDown() override { app()->SetDialogs(nullptr); }
  static Application* app() { return static_cast<Application*>(QCoreApplication::instance()); }
};

TEST_F(ErrorBoxTest, AnErrorInAHandlerIsShownAndTheWindowCarriesOn) {
  ClickAtCentre(Button("Play"));
  ASSERT_EQ(dialogs.Shown("Error").size(), 1u);
  EXPECT_EQ(dialogs.Shown("Error")[0].text, "MCI ﾃﾞﾊﾞｲｽがありません");
  EXPECT_EQ(Button("Play")->text(), QStringLiteral("再生"));
  EXPECT_THROW(form->PlayClick(), MediaError);  // the handlers throw the player's error
  EXPECT_THROW(form->Button1Click(), MediaError);
  ClickAtCentre(Button("Add"));
  EXPECT_EQ(Doc().EventCount, 1);
}

TEST_F(ErrorBoxTest, AFailedOpenShowsThePlayersReason) {
  const QString bad = MakeFile("bad.mid", "x");
  player.failures[bad.toStdString()] = "not a MIDI file";
  dialogs.file_names.push_back(bad);
  ClickAtCentre(Button("Open"));
  ASSERT_EQ(dialogs.Shown("Error").size(), 1u);
  EXPECT_EQ(dialogs.Shown("Error")[0].text, "not a MIDI file");
  EXPECT_TRUE(Doc().MidiPath.empty());
  EXPECT_EQ(form->windowTitle(), "Varnel WRD Maker");
}

// A folder where the project should go: a throw from the handler, the error box from the
// button and from closing, and the changes kept every time.
TEST_F(ErrorBoxTest, AFailedSaveKeepsTheChangesAndShowsItsReason) {
  OpenSong();
  Edit("Mark")->setText("changed");
  ASSERT_TRUE(QDir(dir.path()).mkdir("song.vwm"));
  EXPECT_THROW(form->SaveClick(), ProjectFileError);
  EXPECT_TRUE(form->Modified());
  EXPECT_TRUE(form->windowTitle().startsWith('*'));
  ClickAtCentre(Button("Save"));
  ASSERT_EQ(dialogs.Shown("Error").size(), 1u);
  EXPECT_TRUE(form->Modified());
  dialogs.answers.push_back(Dialogs::Answer::Yes);
  EXPECT_FALSE(RequestClose());
  ASSERT_EQ(dialogs.Shown("Error").size(), 2u);
  EXPECT_TRUE(dialogs.Shown("Error")[1].text.contains("song.vwm"));
  EXPECT_TRUE(form->Modified());
}

}  // namespace
