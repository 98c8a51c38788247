#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A recovery copy: the unsaved state of one project, written now and then while it has unsaved
// changes so that a crash loses at most a few seconds of work. The events are kept in the
// project file's own form, with the edits still in the controls already applied.
struct RecoveryCopy {
  std::string project_path;  // the project file it belongs to (CP932, as the document names it)
  int64_t written = 0;       // when it was made, in seconds since 1970 (UTC)
  int32_t selection = -1;    // the event the controls showed
  std::string project_bytes;

  bool operator==(const RecoveryCopy&) const = default;
};

// The bytes of a recovery copy file: the line "Varnel WRD Maker Recovery 1", the project path,
// the time, the selection and the length of the project bytes, each on a line of its own, then
// the project bytes.
std::string RecoveryCopyBytes(const RecoveryCopy& copy);

// Reads recovery copy bytes. Nothing when they are not a whole recovery copy (another file, cut
// short, a number that is not one): a damaged copy is never taken for a good one.
std::optional<RecoveryCopy> ParseRecoveryCopy(std::string_view bytes);
