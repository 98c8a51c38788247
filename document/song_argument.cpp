#include "document/song_argument.h"

#include <charconv>

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

bool HasExtension(std::string_view name, std::string_view extension) {
  return name.size() > extension.size() &&
         SameNameIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

bool IsSongOrProject(std::string_view name) {
  return HasExtension(name, ".mid") || HasExtension(name, ".vwm");
}

std::string BesideSong(const std::string& typed, std::string_view extension) {
  if (!IsSongOrProject(typed)) return typed;
  return typed.substr(0, typed.size() - 3) + std::string(extension);
}

std::optional<int64_t> NumberArgument(std::string_view text, int64_t least, int64_t most) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < least || value > most) return std::nullopt;
  return value;
}
