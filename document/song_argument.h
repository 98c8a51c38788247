#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The MIDI file the program opens for a file given on its command line. A project file
// ("song.vwm", any letter case) stands for its song, the MIDI file of the same base name:
// "song.mid", or "song.MID" when only that one exists. Any other path is the song itself.
// Paths are file-system (UTF-8) paths; nothing is opened.
std::string SongPathForArgument(const std::string& argument);

// The other files of a song named from what was typed, so that messages name the files as
// typed: Make's rule (the song's name less its last three letters, then the extension) applied
// to the typed text itself.

// A whole decimal number typed as an option's value (a "-" before it allowed, nothing else
// around it) that lies from `least` to `most`; nothing otherwise.
std::optional<int64_t> NumberArgument(std::string_view text, int64_t least, int64_t most);

// Whether `name` ends with `extension` (".mid") after at least one other character, the ASCII
// letters in any case.
bool HasExtension(std::string_view name, std::string_view extension);

// Whether `name` is a song (".mid") or a project (".vwm"), in any letter case.
bool IsSongOrProject(std::string_view name);

// The file of a song or project with another extension ("vnl", "vwm"): "a/X.MID" gives
// "a/X.vnl". Any other name is returned as it stands.
std::string BesideSong(const std::string& typed, std::string_view extension);
