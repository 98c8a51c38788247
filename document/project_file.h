#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "document/event_table.h"
#include "files/atomic_file.h"

// The project file ("vwm" beside the MIDI file): a CP932 text file, one item per line, every LF
// written as CR LF. See ProjectFileBytes for the layout.

// Thrown by WriteProject when the project file cannot be written; the message (UTF-8) names the
// path and the reason. The old project file is then untouched.
class ProjectFileError : public FileWriteError {
 public:
  using FileWriteError::FileWriteError;
};

// Why project file bytes were not read whole: no project at all, the last event cut short, or
// events beyond the table's capacity. Event() is the slot (from 0) of the event left out, where
// one was.
class ProjectFormatError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// The bytes of the project file for the live events: the header line, "@", then per event its
// eleven field lines, its lyric lines, "//" and "@".
std::string ProjectFileBytes(const EventTable& table);

// The largest project file read: far above any real project (1024 events of long lyrics).
inline constexpr uint64_t kMaxProjectFileSize = 64u << 20;

// What reading a project file found.
struct ProjectLoad {
  enum class Status {
    kLoaded,         // every event was read
    kCutShort,       // the file ends inside its last event: the events before it were read
    kTooManyEvents,  // more than 1024 events: the first 1024 were read
    kNotAProject,    // empty, or no "@" separator line: the table is untouched
    kMissing,        // no file at the path: the table is untouched
    kUnreadable,     // not a regular file, too large, or a read error: the table is untouched
  };

  Status status = Status::kLoaded;
  // Japanese (UTF-8): why nothing was read, or what was left out; empty when kLoaded.
  std::string Message;
  int DroppedEvent = -1;  // kCutShort: the slot (from 0) of the event left out
  int EventsNotRead = 0;  // kTooManyEvents: how many complete events follow the 1024th
  // The error behind any status but kLoaded; its what() is Message. A FileReadError (the
  // system's reason in SystemReason()) for kMissing and kUnreadable, a ProjectFormatError
  // otherwise. Null when kLoaded.
  std::shared_ptr<const VwrdError> Failure;

  // Whether the table now holds the file's events (perhaps not all of them).
  bool Loaded() const {
    return status == Status::kLoaded || status == Status::kCutShort ||
           status == Status::kTooManyEvents;
  }
};

// Reads project file bytes into the table, the way the program has always read them: CR bytes are
// dropped, 0x1A ends the file, lines of any length, lenient numbers, at most 1024 events. Bytes
// that are no project (nothing, or no "@" separator line after the first line) leave the table
// untouched and give kNotAProject. Otherwise EventCount becomes the number of events loaded (only
// the slots read are touched), and the result says whether an event was cut short or events were
// left out.
ProjectLoad ParseProject(std::string_view bytes, EventTable& table);

// Reads the file at ProjectFilePath(table) with ParseProject. The caller has set EventCount = 0.
// Only a regular file of at most kMaxProjectFileSize bytes is read; the message of a failure names
// the path.
ProjectLoad ReadProject(EventTable& table);

// Writes the live events to ProjectFilePath(table), atomically, keeping the old file's mode and
// owner and writing through a symbolic link. Throws ProjectFileError.
void WriteProject(const EventTable& table);

// The same on explicit file-system paths (UTF-8).
ProjectLoad ReadProjectFile(const std::string& path, EventTable& table);
void WriteProjectFile(const std::string& path, const EventTable& table);
