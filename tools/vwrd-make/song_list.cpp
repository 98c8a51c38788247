#include "tools/vwrd-make/song_list.h"

#include <algorithm>
#include <filesystem>

#include "tools/vwrd-make/command_line.h"

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
    if (!EndsWithIgnoringCase(name, ".mid")) continue;
    // The project is named as Make names it: the MIDI file's name less its last three letters.
    const std::string base = folder + (folder.ends_with("/") ? "" : "/") + name;
    if (IsRegularFile(base) && IsRegularFile(base.substr(0, base.size() - 3) + "vwm")) {
      names.push_back(base);
    }
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
    if (EndsWithIgnoringCase(argument, ".mid") || EndsWithIgnoringCase(argument, ".vwm") ||
        !fs::is_directory(argument, failure)) {
      songs.push_back(argument);
      continue;
    }
    const std::vector<std::string> found = SongsIn(argument, error);
    if (!error.empty()) return {};
    songs.insert(songs.end(), found.begin(), found.end());
  }
  return songs;
}
