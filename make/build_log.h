#pragma once

#include <string>

// How bad a problem line of the build is.
enum class LineSeverity { kWarning, kError };

// Where a build reports its progress: one text line (CP932) at a time.
class BuildLog {
 public:
  virtual ~BuildLog() = default;
  virtual void BeginLog() = 0;
  virtual void AddLogLine(const std::string& line) = 0;
  // A problem line: shown as any other line; the severity is what a CountingLog counts, so that
  // nobody has to recognise a problem by its text.
  virtual void AddProblemLine(LineSeverity, const std::string& line) { AddLogLine(line); }
  virtual void EndLog() = 0;
};

// A log that drops every line: for a build whose lines another build reports.
class SilentLog : public BuildLog {
 public:
  void BeginLog() override {}
  void AddLogLine(const std::string&) override {}
  void EndLog() override {}
};
