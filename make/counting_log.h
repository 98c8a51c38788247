#pragma once

#include <string>

#include "make/build_log.h"

// Passes every line on to another log and counts the error and warning lines.
class CountingLog : public BuildLog {
 public:
  explicit CountingLog(BuildLog& log) : log_(log) {}

  void BeginLog() override { log_.BeginLog(); }
  void AddLogLine(const std::string& line) override { log_.AddLogLine(line); }
  void AddProblemLine(LineSeverity severity, const std::string& line) override;
  void EndLog() override { log_.EndLog(); }

  int ErrorLines() const { return errors_; }
  int WarningLines() const { return warnings_; }

 private:
  BuildLog& log_;
  int errors_ = 0;
  int warnings_ = 0;
};
