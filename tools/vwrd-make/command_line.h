#pragma once

#include <string>
#include <vector>

// What vwrd-make was asked to do.
struct CommandLine {
  static constexpr int kMaxJobs = 64;

  bool Help = false;
  bool Check = false;  // --check: list the problems, write nothing
  int Jobs = 1;        // --jobs N: songs built at once
  // SONG.mid, SONG.vwm or a folder, as typed, in order.
  std::vector<std::string> Songs;
  std::string Error;  // why the command line is wrong (UTF-8); empty when it is right
};

// Reads the arguments: options anywhere, "--" ends the options; each other argument a song file
// whose name ends in ".mid" or ".vwm" in any letter case, or a folder.
CommandLine ParseCommandLine(int argc, const char* const* argv);
