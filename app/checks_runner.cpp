#include "app/checks_runner.h"

#include <QWidget>
#include <utility>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "logwindow/tform3.h"
#include "make/make_wrd_files.h"

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

// Clears the running flag however the run ends.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

std::vector<Problem> ChecksRunner::Find(const EventTable& working, std::optional<int32_t> length) {
  return Check(working, length);
}

void ChecksRunner::List(const EventTable& working, std::optional<int32_t> length) {
  const std::vector<Problem> problems = Find(working, length);
  if (found_) found_(problems);
  if (log_ == nullptr) return;
  log_->SetRun(TForm3::Run::kChecks);
  log_->show();
  log_->raise();
  log_->BeginLog();
  log_->AddProblems(problems);
  log_->EndLog();
}

std::optional<Problem> ChecksRunner::NextProblem(const EventTable& working,
                                                 std::optional<int32_t> length, int selection,
                                                 int direction) const {
  const std::vector<Problem> problems = Find(working, length);
  if (found_) found_(problems);
  const int event = NextProblemEvent(problems, selection, direction, working.EventCount);
  for (const Problem& problem : problems) {
    if (event >= 0 && problem.Event == event + 1) return problem;
  }
  return std::nullopt;
}

void ChecksRunner::Make(const EventTable& table, std::optional<int32_t> length, QWidget& main) {
  if (log_ == nullptr) return;
  log_->SetRun(TForm3::Run::kMake);
  log_->show();
  log_->raise();
  WindowBuildLog log(main, *log_);
  RunningFlag running(building_);
  const BuildResult result = MakeWrdFiles(table, log);
  // The checks share the build's pictures; their lines follow "終了". The build's warning of a
  // full palette is told per event by the checks.
  const std::vector<Problem> problems = Check(table, result.Pictures, length);
  if (found_) found_(problems);
  log_->AddProblems(problems, ErrorsBesideProblems(result));
  log.Finish();
}
