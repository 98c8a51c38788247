#pragma once

#include <string>

// One mistake the checks found, as the player would show it.
struct Problem {
  enum class Severity { kError, kWarning };

  std::string Id;  // stable: "missing-picture", "same-time", ...
  int Event = 0;   // the event's number in table order, from 1; 0 for the project as a whole
  Severity Level = Severity::kWarning;
  std::string Text;  // CP932, for the user, with the numbers that explain the problem

  bool operator==(const Problem&) const = default;
};
