#pragma once

#include <string>
#include <vector>

// The songs the arguments name: a song file as it stands; for a folder, every MIDI file in it
// (".mid" in any letter case, not in folders below) that has its project file beside it, by
// name. Names are kept as typed: a folder's songs are the folder as typed, "/" and the name.
// A folder that cannot be listed or holds no song gives an error (UTF-8) in `error`.
std::vector<std::string> ListSongs(const std::vector<std::string>& arguments, std::string& error);
