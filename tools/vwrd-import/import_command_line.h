#pragma once

#include <string>

#include "lyrics/lyric_import.h"

// What vwrd-import was asked to do.
struct ImportCommandLine {
  bool Help = false;
  bool Force = false;    // --force: replace an existing project, keeping it as .bak
  std::string Song;      // SONG.mid
  std::string Project;   // -o: empty for SONG.vwm beside the song
  std::string Template;  // --template: a project whose first event gives the layout
  LyricImportSettings Settings;
  std::string Error;  // why the command line is wrong (UTF-8); empty when it is right
};

// Reads the arguments: options anywhere, "--" ends them, one song file.
ImportCommandLine ParseImportCommandLine(int argc, const char* const* argv);
