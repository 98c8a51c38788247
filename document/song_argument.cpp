#include "document/song_argument.h"

#include <filesystem>
#include <system_error>

#include "document/names.h"

std::string SongPathForArgument(const std::string& argument) {
  constexpr std::string_view kProjectExtension = ".vwm";
  if (argument.size() <= kProjectExtension.size() ||
      !SameNameIgnoringCase(argument.substr(argument.size() - kProjectExtension.size()),
                            kProjectExtension)) {
    return argument;
  }
  // The base keeps its dot: "song.vwm" gives "song." (the project's own naming of BaseName).
  const std::string base = argument.substr(0, argument.size() - 3);
  std::error_code error;
  if (!std::filesystem::exists(base + "mid", error) &&
      std::filesystem::exists(base + "MID", error)) {
    return base + "MID";
  }
  return base + "mid";
}
