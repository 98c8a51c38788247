#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"

class TForm3;
class QWidget;

// The checks and Make, told in the log window: F7 lists the problems of the document, F8 finds
// the next problem's event, and Make builds the files and lists the checks after its log. The
// log window may stay unattached (tests): there is then nothing to list in.
class ChecksRunner {
 public:
  void AttachLog(TForm3* log) { log_ = log; }
  TForm3* Log() const { return log_; }
  // Told every list of problems the checks find in the working document (the corners of the
  // storyboard follow it).
  using ProblemsFound = std::function<void(const std::vector<Problem>&)>;
  void OnProblemsFound(ProblemsFound found) { found_ = std::move(found); }

  // The problems of `working` (the table with the edits in the controls).
  static std::vector<Problem> Find(const EventTable& working, std::optional<int32_t> length);
  // Lists the problems in the log window, shown and raised.
  void List(const EventTable& working, std::optional<int32_t> length);
  // The first problem of the event of the next problem after `selection` (from 0) in
  // `direction` (1 or -1), going round; nothing when no problem names an event.
  std::optional<Problem> NextProblem(const EventTable& working, std::optional<int32_t> length,
                                     int selection, int direction) const;

  // Builds the files of `table` with its log in the log window, then lists the checks. `main`
  // stays disabled from the start of the log to the end of the run. Throws as the build does.
  void Make(const EventTable& table, std::optional<int32_t> length, QWidget& main);
  // A Make is running (its log lets window events through).
  bool Building() const { return building_; }

 private:
  TForm3* log_ = nullptr;
  bool building_ = false;
  ProblemsFound found_;
};
