// Recovery copies in the main window, and project files that cannot be read as one.
#include <QFile>
#include <QRegularExpression>
#include <functional>

#include "document/project_file.h"
#include "editing/recovery_copy.h"
#include "main_window_fixture.h"

namespace {

const char kProject[] =
    "Varnel WRD Maker Format 1\r\n@\r\n"
    "Intro\r\n16\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n//\r\n@\r\n";

class RecoveryWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    song = MakeSong("song.mid", 640);
  }

  QTimer* RecoveryTimer() { return Control<QTimer>("RecoveryTimer"); }
  std::string ProjectPath() { return dir.filePath("song.vwm").toStdString(); }
  // The copy as stored, read past the lock of the window that keeps it.
  std::optional<RecoveryCopy> StoredCopy() {
    QFile file(QString::fromStdString(form->Recovery().FileFor(ProjectPath()).string()));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return ParseRecoveryCopy(file.readAll().toStdString());
  }

  // Three events added and a mark typed into the third, then the copy written.
  std::string MakeCopy() {
    MakeFile("song.vwm", kProject);
    form->OpenMidiFile(song);
    for (int i = 0; i < 3; ++i) form->AddClick();
    Edit("Mark")->setText("typed");
    form->RecoveryTimerTimer();
    EventTable expected = Doc();
    expected.events[3].Mark = "typed";
    return ProjectFileBytes(expected);
  }
};

TEST_F(RecoveryWindowTest, AChangeIsCopiedWithinTenSecondsWithTheEditsInTheControls) {
  MakeFile("song.vwm", kProject);
  form->OpenMidiFile(song);
  RecoveryTimer()->stop();
  form->AddClick();
  ASSERT_TRUE(RecoveryTimer()->isActive());
  EXPECT_LE(RecoveryTimer()->interval(), 10000);
  EXPECT_TRUE(RecoveryTimer()->isSingleShot());
  const std::string bytes = MakeCopy();
  const std::optional<RecoveryCopy> copy = StoredCopy();
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->project_bytes, bytes);
  EXPECT_EQ(copy->selection, 3);
  EXPECT_EQ(FileBytes("song.vwm"), kProject);  // nothing beside the user's files
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(RecoveryWindowTest, YesRestoresTheCopyAsUnsavedChanges) {
  const std::string bytes = MakeCopy();
  form.reset();  // the window that made the copy crashed: its lock went with it
  auto second = std::make_unique<TForm1>(player, dialogs);
  second->SetRecoveryFolder(dir.filePath("state").toStdString());
  dialogs.answers.push_back(Dialogs::Answer::Yes);
  second->OpenMidiFile(song);
  ASSERT_EQ(dialogs.Shown("YesNo").size(), 1u);
  EXPECT_TRUE(dialogs.Shown("YesNo")[0].text.contains(QStringLiteral("復元しますか")));
  EXPECT_TRUE(dialogs.Shown("YesNo")[0].text.contains(QRegularExpression("\\d{4}/\\d\\d/\\d\\d")));
  EXPECT_EQ(ProjectFileBytes(second->Document()), bytes);
  EXPECT_TRUE(second->Modified());
  EXPECT_EQ(second->Selection(), 3);
  EXPECT_EQ(second->findChild<QLineEdit*>("Mark")->text(), "typed");
  second->UndoClick();  // back to the project as saved
  EXPECT_EQ(ProjectFileBytes(second->Document()), kProject);
  EXPECT_FALSE(second->Modified());
  second->RedoClick();
  second->SaveClick();  // saving removes the copy
  EXPECT_FALSE(second->Recovery().Exists(ProjectPath()));
}

TEST_F(RecoveryWindowTest, NoDeletesTheCopy) {
  MakeCopy();
  dialogs.answers.push_back(Dialogs::Answer::No);
  form->OpenMidiFile(song);
  EXPECT_FALSE(form->Recovery().Exists(ProjectPath()));
  EXPECT_EQ(ProjectFileBytes(Doc()), kProject);
  EXPECT_FALSE(form->Modified());
}

TEST_F(RecoveryWindowTest, ADamagedCopyNeverStopsTheOpen) {
  MakeFile("song.vwm", kProject);
  QDir().mkpath(dir.filePath("state"));
  QFile file(QString::fromStdString(form->Recovery().FileFor(ProjectPath()).string()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Varnel WRD Maker Recovery 1\n");
  file.close();
  form->OpenMidiFile(song);  // no answer queued: a question would throw
  EXPECT_EQ(Doc().EventCount, 1);
  EXPECT_FALSE(form->Modified());
}

// Leaving the changes with "No", by opening another song or by closing, removes the copy.
TEST_F(RecoveryWindowTest, LeavingTheChangesWithNoRemovesTheCopy) {
  const std::function<void()> ways[] = {[&] {
                                          dialogs.file_names.push_back(MakeSong("other.mid", 100));
                                          form->OpenClick();
                                        },
                                        [&] { EXPECT_TRUE(RequestClose()); }};
  for (const auto& leave : ways) {
    MakeCopy();
    dialogs.answers.push_back(Dialogs::Answer::No);
    leave();
    EXPECT_FALSE(form->Recovery().Exists(ProjectPath()));
    EXPECT_EQ(FileBytes("song.vwm"), kProject);
  }
}

TEST_F(RecoveryWindowTest, AFileThatIsNotAProjectIsKeptAndBackedUpOnTheFirstSave) {
  const QByteArray original = "Title,Time\r\nIntro,0\r\n";
  MakeFile("song.vwm", original);
  form->OpenMidiFile(song);
  ASSERT_EQ(dialogs.Shown("Notice").size(), 1u);
  EXPECT_TRUE(dialogs.Shown("Notice")[0].text.contains("song.vwm.bak"));
  EXPECT_EQ(Doc().EventCount, 1);  // one new event: typing goes somewhere
  EXPECT_EQ(form->Selection(), 0);
  EXPECT_EQ(FileBytes("song.vwm"), original);
  Edit("Mark")->setText("mine");
  form->SaveClick();
  EXPECT_EQ(FileBytes("song.vwm.bak"), original);
  EXPECT_TRUE(FileBytes("song.vwm").contains("\r\nmine\r\n"));
  Edit("Mark")->setText("again");
  form->SaveClick();
  EXPECT_EQ(FileBytes("song.vwm.bak"), original);  // only the first save keeps it
}

TEST_F(RecoveryWindowTest, AProjectWithNoEventsBehavesAsANewOne) {
  MakeFile("song.vwm", "Varnel WRD Maker Format 1\r\n@\r\n");
  form->OpenMidiFile(song);
  EXPECT_EQ(Doc().EventCount, 1);
  EXPECT_EQ(Utf8(Mark(0)), "新規イベント");
  EXPECT_FALSE(form->Modified());
  EXPECT_TRUE(dialogs.shown.empty());
}

// A song open in one window is said so in another, which never offers, writes or removes the
// first one's live copy; the first keeps it until it closes.
TEST_F(RecoveryWindowTest, ASecondWindowOnTheSongIsToldAndLeavesTheLiveCopyAlone) {
  const std::string bytes = MakeCopy();
  auto second = std::make_unique<TForm1>(player, dialogs);
  second->SetRecoveryFolder(dir.filePath("state").toStdString());
  second->OpenMidiFile(song);  // no answer queued: a recovery question would throw
  ASSERT_EQ(dialogs.Shown("Notice").size(), 1u);
  EXPECT_TRUE(dialogs.Shown("Notice")[0].text.contains(
      QStringLiteral("この曲は別のウィンドウで開かれています (プロセス %1)")
          .arg(QCoreApplication::applicationPid())));
  EXPECT_TRUE(dialogs.Shown("YesNo").empty());
  second->findChild<QLineEdit*>("Mark")->setText("second");
  second->RecoveryTimerTimer();  // writes nothing over the first one's copy
  dialogs.answers.push_back(Dialogs::Answer::No);
  QCloseEvent close;
  QCoreApplication::sendEvent(second.get(), &close);  // "No": leave the changes
  ASSERT_TRUE(close.isAccepted());
  second.reset();
  const std::optional<RecoveryCopy> copy = StoredCopy();
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->project_bytes, bytes);
  EXPECT_EQ(FileBytes("song.vwm"), kProject);
}

// An unusable folder for the copies is said in the status line, and so is a failed write.
TEST_F(RecoveryWindowTest, AFolderThatCannotHoldCopiesIsSaidInTheStatusLine) {
  MakeFile("state", "not a folder");
  MakeFile("song.vwm", kProject);
  form->OpenMidiFile(song);
  const QLabel* status = Control<QLabel>("Status");
  EXPECT_TRUE(status->text().contains(QStringLiteral("state"))) << status->text().toStdString();
  form->ShowStatus(QString());
  form->AddClick();
  form->RecoveryTimerTimer();  // no box: the reason is in the status line
  EXPECT_TRUE(dialogs.Shown("Error").empty());
  EXPECT_FALSE(status->text().isEmpty());
}

}  // namespace
