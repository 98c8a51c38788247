#pragma once

#include <string>

// What vwrd-make was asked to do.
struct CommandLine {
  bool Help = false;
  bool Check = false;  // --check: list the problems, write nothing
  std::string Song;    // SONG.mid or SONG.vwm, as given
  std::string Error;   // why the command line is wrong (UTF-8); empty when it is right
};

// Reads the arguments: options first or last, "--" ends the options, one song file whose name
// ends in ".mid" or ".vwm" in any letter case.
CommandLine ParseCommandLine(int argc, const char* const* argv);
