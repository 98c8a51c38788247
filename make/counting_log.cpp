#include "make/counting_log.h"

void CountingLog::AddProblemLine(LineSeverity severity, const std::string& line) {
  ++(severity == LineSeverity::kError ? errors_ : warnings_);
  log_.AddProblemLine(severity, line);
}
