#pragma once

#include <string>

// Keeps a copy of the file at `path` (UTF-8) as `path` + ".bak", written atomically, before the
// file is replaced: a project file that could not be read whole is never lost to a save. Nothing
// at `path` is no error; a file there that cannot be read or copied throws FileWriteError, so
// that the save that follows does not go ahead.
void KeepBackup(const std::string& path);
