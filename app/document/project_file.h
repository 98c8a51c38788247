#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "app/document/atomic_file.h"
#include "app/document/event_table.h"

// The project file ("vwm" beside the MIDI file): a CP932 text file, one item per line, every LF
// written as CR LF. See ProjectFileBytes for the layout.

// Thrown by WriteProject when the project file cannot be written; the message (UTF-8) names the
// path and the reason. The old project file is then untouched.
class ProjectFileError : public FileWriteError {
 public:
  using FileWriteError::FileWriteError;
};

// The bytes of the project file for the live events: the header line, "@", then per event its
// eleven field lines, its lyric lines, "//" and "@".
std::string ProjectFileBytes(const EventTable& table);

// Reads project file bytes into the table, the way the program has always read them: CR bytes are
// dropped, 0x1A ends the file, lines of any length, lenient numbers, at most 1024 events. A
// damaged file is read as far as its lines carry; nothing is reported. EventCount becomes the
// number of events loaded; only the slots read are touched.
void ParseProject(std::string_view bytes, EventTable& table);

// Reads the file at ProjectFilePath(table) with ParseProject. The caller has set EventCount = 0
// and Selection = -1. Returns false (table untouched) when the file cannot be opened.
bool ReadProject(EventTable& table);

// Writes the live events to ProjectFilePath(table), atomically. Throws ProjectFileError.
void WriteProject(const EventTable& table);

// The same on explicit file-system paths (UTF-8).
bool ReadProjectFile(const std::string& path, EventTable& table);
void WriteProjectFile(const std::string& path, const EventTable& table);
