#pragma once

#include <string>

// The demo song: a short tune in C major (about 27 seconds), format 1 with a tempo track, a
// flute melody and a track of string chords and acoustic bass, as Standard MIDI File bytes.
std::string DemoSongBytes();
