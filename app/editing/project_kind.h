#pragma once

#include <string>
#include <string_view>

#include "app/document/event_table.h"

// What opening a project file found.
enum class ProjectLoad {
  kMissing,     // no file that can be opened: a new project
  kLoaded,      // read into the table (perhaps with no events)
  kNotAProject  // a file that cannot be read as a project; the table is untouched
};

// Whether bytes read from a project file can be one: empty, or text (no NUL byte, which a file
// re-saved as UTF-16 or any binary format holds) with a separator line starting with "@".
bool LooksLikeProject(std::string_view bytes);

// Reads the project file at `path` (UTF-8) into the table, as ReadProjectFile does, but leaves
// the table alone and answers kNotAProject for a file that LooksLikeProject refuses.
ProjectLoad LoadProjectFile(const std::string& path, EventTable& table);

// Keeps a copy of the file at `path` as `path` + ".bak" (written atomically) before it is
// replaced. Throws FileWriteError when the copy cannot be made; nothing to copy is no error.
void KeepBackup(const std::string& path);
