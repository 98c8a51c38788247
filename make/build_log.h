#pragma once

#include <string>

// Where a build reports its progress: one text line (CP932) at a time.
class BuildLog {
 public:
  virtual ~BuildLog() = default;
  virtual void BeginLog() = 0;
  virtual void AddLogLine(const std::string& line) = 0;
  virtual void EndLog() = 0;
};

// A log that drops every line: for a build whose lines another build reports.
class SilentLog : public BuildLog {
 public:
  void BeginLog() override {}
  void AddLogLine(const std::string&) override {}
  void EndLog() override {}
};
