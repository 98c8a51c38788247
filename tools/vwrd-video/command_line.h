#pragma once

#include <string>

#include "video/video_export.h"

// What vwrd-video was asked to do.
struct VideoCommandLine {
  bool Help = false;
  std::string Song;    // SONG.mid or SONG.vwm, as typed
  std::string Output;  // as typed; empty: SONG.mp4 beside the song
  VideoOptions Options;
  // Why the command line is wrong (UTF-8): the argument as typed and what is allowed; empty
  // when it is right.
  std::string Error;
};

// Reads the arguments: options before or after the song, "--" ends the options, one song file
// whose name ends in ".mid" or ".vwm" in any letter case.
VideoCommandLine ParseVideoCommandLine(int argc, const char* const* argv);
