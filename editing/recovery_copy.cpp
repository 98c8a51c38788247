#include "editing/recovery_copy.h"

#include <charconv>

namespace {

constexpr std::string_view kHeader = "Varnel WRD Maker Recovery 1";

// Takes the text up to the next LF; nothing when there is no LF.
std::optional<std::string_view> TakeLine(std::string_view& bytes) {
  const size_t lf = bytes.find('\n');
  if (lf == std::string_view::npos) return std::nullopt;
  std::string_view line = bytes.substr(0, lf);
  bytes.remove_prefix(lf + 1);
  return line;
}

// A whole line of decimal digits (with an optional "-"), nothing else.
template <typename T>
std::optional<T> TakeNumber(std::string_view& bytes) {
  const std::optional<std::string_view> line = TakeLine(bytes);
  if (!line || line->empty()) return std::nullopt;
  T value{};
  const auto [end, error] = std::from_chars(line->data(), line->data() + line->size(), value);
  if (error != std::errc() || end != line->data() + line->size()) return std::nullopt;
  return value;
}

}  // namespace

std::string RecoveryCopyBytes(const RecoveryCopy& copy) {
  std::string bytes;
  bytes += kHeader;
  bytes += '\n';
  bytes += copy.project_path + '\n';
  bytes += std::to_string(copy.written) + '\n';
  bytes += std::to_string(copy.selection) + '\n';
  bytes += std::to_string(copy.project_bytes.size()) + '\n';
  bytes += copy.project_bytes;
  return bytes;
}

std::optional<RecoveryCopy> ParseRecoveryCopy(std::string_view bytes) {
  const std::optional<std::string_view> header = TakeLine(bytes);
  if (!header || *header != kHeader) return std::nullopt;
  RecoveryCopy copy;
  const std::optional<std::string_view> path = TakeLine(bytes);
  if (!path) return std::nullopt;
  copy.project_path = *path;
  const auto written = TakeNumber<int64_t>(bytes);
  const auto selection = TakeNumber<int32_t>(bytes);
  const auto size = TakeNumber<size_t>(bytes);
  if (!written || !selection || !size || *size != bytes.size()) return std::nullopt;
  copy.written = *written;
  copy.selection = *selection;
  copy.project_bytes = bytes;
  return copy;
}
