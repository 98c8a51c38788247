// The main window's project file and build: the unsaved-changes question, saving, loading,
// and "Make" with the log window.
#include <QCoreApplication>

#include "app/cp932_text.h"
#include "app/dialogs.h"
#include "app/document/project_file.h"
#include "app/tform1.h"
#include "build/gui/tform3.h"
#include "build/make_wrd_files.h"
#include "checks/check.h"
#include "checks/problem_lines.h"
#include "ui_tform1.h"

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
  if (!doc_.Modified) return true;
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
  if (doc_.Selection >= 0) SelectEvent(doc_.Selection);
  WriteProject(doc_);
  SetModified(false);
}

bool TForm1::LoadProject() { return ReadProject(doc_); }

void TForm1::SaveClick() {
  if (doc_.MidiPath.empty()) return;
  SaveProject();
}

void TForm1::MakeClick() {
  if (doc_.MidiPath.empty()) return;
  if (doc_.Selection >= 0) SelectEvent(doc_.Selection);
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
