#include "make/counting_log.h"

#include "make/build_texts.h"

void CountingLog::AddLogLine(const std::string& line) {
  if (line.starts_with(build_texts::kErrorPrefix)) ++errors_;
  if (line.starts_with(build_texts::kWarningPrefix)) ++warnings_;
  log_.AddLogLine(line);
}
