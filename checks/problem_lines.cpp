#include "checks/problem_lines.h"

#include <algorithm>
#include <set>

#include "checks/check_texts.h"
#include "checks/format_text.h"

std::string ProblemLine(const Problem& problem) {
  std::string line = problem.Event > 0 ? "#" + Decimal(problem.Event) : "-";
  line += ' ';
  line += problem.Level == Problem::Severity::kError ? check_texts::kError : check_texts::kWarning;
  line += ": " + problem.Text + " [" + problem.Id + "]";
  return line;
}

std::string CountLine(int errors, int warnings) {
  return FormatText(check_texts::kCountLine, {Decimal(errors), Decimal(warnings)});
}

int ErrorsBesideProblems(const BuildResult& result) {
  const auto failed = std::count_if(result.Pictures.begin(), result.Pictures.end(),
                                    [](const Picture& picture) { return picture.LoadFailed != 0; });
  return std::max(result.ErrorLines - static_cast<int>(failed), 0);
}

int CountErrors(const std::vector<Problem>& problems) {
  return static_cast<int>(std::count_if(problems.begin(), problems.end(), [](const Problem& p) {
    return p.Level == Problem::Severity::kError;
  }));
}

int CountWarnings(const std::vector<Problem>& problems) {
  return static_cast<int>(problems.size()) - CountErrors(problems);
}

int NextProblemEvent(const std::vector<Problem>& problems, int selected, int direction,
                     int eventCount) {
  std::set<int> events;  // from 0
  for (const Problem& problem : problems) {
    if (problem.Event >= 1 && problem.Event <= eventCount) events.insert(problem.Event - 1);
  }
  if (events.empty()) return -1;
  if (direction >= 0) {
    const auto next = events.upper_bound(selected);
    return next != events.end() ? *next : *events.begin();
  }
  const auto next = events.lower_bound(selected);
  return next != events.begin() ? *std::prev(next) : *events.rbegin();
}
