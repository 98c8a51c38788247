#pragma once

#include <string>
#include <vector>

#include "checks/problem.h"
#include "make/make_wrd_files.h"

// How the problems are listed, in the log window and by vwrd-make (CP932 lines).

// "#12 警告: text [same-time]"; "- ..." for the project as a whole.
std::string ProblemLine(const Problem& problem);

// The closing line of a list: "エラー 2 件、警告 5 件".
std::string CountLine(int errors, int warnings);

// The error lines of a build's log that no problem repeats: every picture that failed to load
// has one, and the checks report it as missing-picture or not-256-colours.
int ErrorsBesideProblems(const BuildResult& result);

// The number of problems of each severity.
int CountErrors(const std::vector<Problem>& problems);
int CountWarnings(const std::vector<Problem>& problems);

// The event (from 0) of the next problem after the event `selected` (from 0; -1 for none) in
// table order, or of the previous one when `direction` is negative, going round at the ends;
// -1 when no problem names an event below `eventCount`.
int NextProblemEvent(const std::vector<Problem>& problems, int selected, int direction,
                     int eventCount);
