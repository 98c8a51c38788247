// The main window's checks: F7 lists the problems in the log window, F8 and Shift+F8 go from
// problem to problem, and a problem's line in the log window leads to its event.
#include <QListWidget>

#include <memory>

#include "app/tform1.h"
#include "checks/check.h"
#include "checks/problem_lines.h"
#include "logwindow/tform3.h"
#include "song/media_player.h"
#include "ui_tform1.h"

std::vector<Problem> TForm1::CheckWorkingDocument() const {
  // The table as it is now, the edits in the controls included; looking commits nothing.
  auto table = std::make_unique<EventTable>();
  ReadWorkingDocument(*table);
  return Check(*table, SongLength());
}

void TForm1::CheckKey() {
  if (doc_.MidiPath.empty()) return;
  const std::vector<Problem> problems = CheckWorkingDocument();
  if (log_ == nullptr) return;
  log_->show();
  log_->raise();
  log_->BeginLog();
  log_->AddProblems(problems);
  log_->EndLog();
}

void TForm1::NextProblemKey(int direction) {
  if (doc_.MidiPath.empty()) return;
  // The table as it is now: edits since the last check have moved or mended problems.
  const std::vector<Problem> problems = CheckWorkingDocument();
  JumpToEvent(NextProblemEvent(problems, editing_.Selection(), direction, doc_.EventCount));
}

void TForm1::JumpToEvent(int index) {
  if (index < 0 || index >= doc_.EventCount) return;
  // As a click in the list: the edits of the event left behind become a step.
  ui_->EventList->setCurrentRow(index);
  EventListClick();
  TimelineSeek(doc_.events[index].Count);
}

std::optional<int32_t> TForm1::SongLength() const {
  const int32_t length = player_.Length();
  return length > 0 ? std::optional<int32_t>(length) : std::nullopt;
}
