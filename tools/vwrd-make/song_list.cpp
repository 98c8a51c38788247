#include "tools/vwrd-make/song_list.h"

#include <algorithm>
#include <filesystem>

#include "document/song_argument.h"

namespace {

namespace fs = std::filesystem;

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The MIDI files of a folder that have a project beside them, by name.
std::vector<std::string> SongsIn(const std::string& folder, std::string& error) {
  std::vector<std::string> names;
  std::error_code failure;
  for (fs::directory_iterator entry(folder, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    const std::string name = entry->path().filename().string();
    if (!HasExtension(name, ".mid")) continue;
    const std::string song = folder + (folder.ends_with("/") ? "" : "/") + name;
    if (IsRegularFile(song) && IsRegularFile(BesideSong(song, "vwm"))) names.push_back(song);
  }
  if (failure) {
    error = "フォルダを読めません: \"" + folder + "\" (" + failure.message() + ")";
  } else if (names.empty()) {
    error = "フォルダにプロジェクトのある MIDI ファイルがありません: \"" + folder + "\"";
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> ListSongs(const std::vector<std::string>& arguments, std::string& error) {
  std::vector<std::string> songs;
  for (const std::string& argument : arguments) {
    std::error_code failure;
    if (IsSongOrProject(argument) || !fs::is_directory(argument, failure)) {
      songs.push_back(argument);
      continue;
    }
    const std::vector<std::string> found = SongsIn(argument, error);
    if (!error.empty()) return {};
    songs.insert(songs.end(), found.begin(), found.end());
  }
  return songs;
}
