#pragma once

#include <string>

// The MIDI file the program opens for a file given on its command line. A project file
// ("song.vwm", any letter case) stands for its song, the MIDI file of the same base name:
// "song.mid", or "song.MID" when only that one exists. Any other path is the song itself.
// Paths are file-system (UTF-8) paths; nothing is opened.
std::string SongPathForArgument(const std::string& argument);
