// The main window's project file and build: the unsaved-changes question, saving, loading,
// and "Make" with the log window.
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <memory>
#include <optional>

#include "app/dialogs.h"
#include "app/tform1.h"
#include "checks/check.h"
#include "checks/problem_lines.h"
#include "document/names.h"
#include "document/number_text.h"
#include "document/project_file.h"
#include "editing/project_backup.h"
#include "editing/working_copy.h"
#include "logwindow/tform3.h"
#include "make/make_wrd_files.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

namespace {

// The log of one build: forwards to the log window and keeps the main window disabled from
// the start of the log until the end of the run, after the checks (ended here too if the run
// throws).
class WindowBuildLog : public BuildLog {
 public:
  WindowBuildLog(QWidget& main, BuildLog& log) : main_(main), log_(log) {}
  ~WindowBuildLog() override { Finish(); }
  WindowBuildLog(const WindowBuildLog&) = delete;
  WindowBuildLog& operator=(const WindowBuildLog&) = delete;

  void BeginLog() override {
    log_.BeginLog();
    main_.setEnabled(false);
  }
  void AddLogLine(const std::string& line) override { log_.AddLogLine(line); }
  // The run ends once the checks are listed too.
  void EndLog() override {}
  void Finish() {
    if (finished_) return;
    finished_ = true;
    log_.EndLog();
    main_.setEnabled(true);
  }

 private:
  QWidget& main_;
  BuildLog& log_;
  bool finished_ = false;
};

}  // namespace

bool TForm1::QuerySave() {
  if (!modified_) return true;
  const Dialogs::Answer answer = dialogs_.AskYesNoCancel(
      QStringLiteral("変更されています。保存しますか？"), FromCp932(doc_.MidiPath));
  if (answer == Dialogs::Answer::No) return true;
  if (answer != Dialogs::Answer::Yes) return false;
  if (doc_.MidiPath.empty()) {
    // The project file lies beside the MIDI file; without one there is nowhere to save.
    dialogs_.ShowNotice(
        QStringLiteral("MIDIファイルを開いていないので保存できません。"
                       "保存せずに閉じるには「いいえ」を選んでください。"));
    return false;
  }
  SaveProject();
  return true;
}

void TForm1::SaveProject() {
  CommitWorkingCopy();
  if (backup_before_save_) {
    // The file that could not be read as a project is kept before it is first replaced.
    KeepBackup(Cp932ToUtf8(ProjectFilePath(doc_)));
    backup_before_save_ = false;
  }
  WriteProject(doc_);
  editing_.SetClean();
  RemoveRecoveryCopy();
  UpdateModified();
}

bool TForm1::LoadProject() { return ReadProject(doc_).Loaded(); }

void TForm1::LoadDocument() {
  const ProjectLoad load = ReadProject(doc_);
  // A file that was not read whole would lose what was left out on the next save: it is kept
  // beside it first, and the user is told.
  backup_before_save_ =
      load.status != ProjectLoad::Status::kLoaded && load.status != ProjectLoad::Status::kMissing;
  if (backup_before_save_) {
    const QString path = FromCp932(ProjectFilePath(doc_));
    dialogs_.ShowNotice(QString::fromStdString(load.Message) +
                        QStringLiteral("。\nファイルはそのまま残し、最初に保存するときに"
                                       "元のファイルを %1.bak として残します。")
                            .arg(QFileInfo(path).fileName()));
  }
  if (doc_.EventCount == 0) {
    // No events to edit, as for a new project: one new event, so that typing is never lost.
    Item& item = doc_.events[0];
    item.Mark = ToCp932(QStringLiteral("新規イベント"));
    item.Count = ReadNumber(ToCp932(ui_->Counter->text()));
    item.Effect = kEffectNone;
    doc_.EventCount = 1;
  }
  editing_.ClearHistory();
  editing_.Select(0);
  ShowDocument();
  OfferRecoveryCopy();
}

void TForm1::OfferRecoveryCopy() {
  const std::string project = ProjectFilePath(doc_);
  // A copy that cannot be read, for whatever reason, is passed over: it never stops an open.
  std::optional<RecoveryCopy> copy;
  try {
    copy = recovery_.Read(project);
  } catch (const std::exception&) {
    return;
  }
  if (!copy) return;
  recovery_timer_->stop();  // the copy stays until the question is answered
  const QString written = QDateTime::fromSecsSinceEpoch(copy->written)
                              .toLocalTime()
                              .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  const Dialogs::Answer answer = dialogs_.AskYesNo(
      QStringLiteral("保存されていない変更の復元用コピーがあります（%1）。\n復元しますか？")
          .arg(written),
      FromCp932(doc_.MidiPath));
  if (answer != Dialogs::Answer::Yes) {
    recovery_.Remove(project);
    UpdateModified();
    return;
  }
  auto restored = std::make_unique<EventTable>();
  if (!ParseProject(copy->project_bytes, *restored).Loaded() || restored->EventCount == 0) {
    UpdateModified();
    return;
  }
  const int32_t selection = std::clamp(copy->selection, 0, restored->EventCount - 1);
  // One step: undoing it gives back the project as saved.
  editing_.ReplaceEvents(*restored, selection);
  ShowDocument();
}

void TForm1::RecoveryTimerTimer() {
  if (doc_.MidiPath.empty()) return;
  if (!modified_) {
    RemoveRecoveryCopy();
    return;
  }
  RecoveryCopy copy;
  copy.project_path = ProjectFilePath(doc_);
  copy.written = static_cast<int64_t>(std::time(nullptr));
  copy.selection = editing_.Selection();
  // The table with the edits still in the controls.
  auto table = std::make_unique<EventTable>(doc_);
  const int index = editing_.Selection();
  if (index >= 0 && index < table->EventCount) {
    table->events[index] = ApplyEdits(doc_.events[index], loaded_, ReadControls());
  }
  copy.project_bytes = ProjectFileBytes(*table);
  try {
    recovery_.Write(copy);
    recovery_error_shown_ = false;
  } catch (const std::exception& error) {
    // Said once, not every few seconds; the next write tries again.
    if (recovery_error_shown_) return;
    recovery_error_shown_ = true;
    throw;
  }
}

void TForm1::RemoveRecoveryCopy() {
  recovery_timer_->stop();
  if (doc_.MidiPath.empty()) return;
  recovery_.Remove(ProjectFilePath(doc_));
}

void TForm1::SetRecoveryFolder(const std::string& folder) { recovery_ = RecoveryStore(folder); }

void TForm1::SaveClick() {
  if (doc_.MidiPath.empty()) return;
  SaveProject();
}

void TForm1::MakeClick() {
  if (doc_.MidiPath.empty()) return;
  if (editing_.Selection() >= 0) SelectEvent(editing_.Selection());
  if (log_ == nullptr) return;
  log_->show();
  log_->raise();
  WindowBuildLog log(*this, *log_);
  building_ = true;
  try {
    const BuildResult result = MakeWrdFiles(doc_, log);
    // The checks share the build's pictures; their lines follow "終了". The build's warning of
    // a full palette is told per event by the checks.
    log_->AddProblems(Check(doc_, result.Pictures, SongLength()), ErrorsBesideProblems(result));
    log.Finish();
  } catch (...) {
    building_ = false;
    throw;
  }
  building_ = false;
}
