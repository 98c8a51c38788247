#include "editing/project_session.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "document/names.h"
#include "editing/new_event.h"
#include "editing/project_backup.h"
#include "text/cp932.h"

ProjectLoad ProjectSession::Open(const std::string& cp932_midi_path, int32_t first_count) {
  EventTable& table = editing_.Table();
  lock_.reset();
  SetMidiPath(table, cp932_midi_path);
  lock_ = recovery_.Lock(ProjectFilePath(table));
  editing_.Select(-1);
  // No field of the song before survives, not even in the slots beyond the live events.
  table.events.fill(EventItem());
  table.EventCount = 0;
  const ProjectLoad load = ReadProject(table);
  // A file that was not read whole would lose what was left out on the next save.
  backup_before_save_ =
      load.status != ProjectLoad::Status::kLoaded && load.status != ProjectLoad::Status::kMissing;
  if (table.EventCount == 0) {
    table.events[0] = NewEvent(table, first_count);
    table.EventCount = 1;
  }
  editing_.ClearHistory();
  editing_.Select(0);
  return load;
}

void ProjectSession::Save() {
  const EventTable& table = editing_.Table();
  if (backup_before_save_) {
    KeepBackup(Cp932ToUtf8(ProjectFilePath(table)));
    backup_before_save_ = false;
  }
  WriteProject(table);
  editing_.SetClean();
  RemoveRecoveryCopy();
}

std::optional<RecoveryCopy> ProjectSession::FindRecoveryCopy() const {
  // A copy that cannot be read, for whatever reason, is passed over: it never stops an open.
  try {
    const std::string project = ProjectFilePath(editing_.Table());
    if (lock_ && lock_->State() == SongLock::Status::kHeldElsewhere) return std::nullopt;
    if (lock_ && lock_->Held()) return recovery_.Read(project, *lock_);
    // Without a lock of its own, the store leaves a copy some window holds alone.
    return recovery_.Read(project);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool ProjectSession::Restore(const RecoveryCopy& copy) {
  auto restored = std::make_unique<EventTable>();
  if (!ParseProject(copy.project_bytes, *restored).Loaded() || restored->EventCount == 0) {
    return false;
  }
  const int32_t selection = std::clamp(copy.selection, 0, restored->EventCount - 1);
  editing_.ReplaceEvents(*restored, selection);
  return true;
}

void ProjectSession::WriteRecoveryCopy(const EventTable& working, int32_t selection,
                                       int64_t written) {
  RecoveryCopy copy;
  copy.project_path = ProjectFilePath(working);
  copy.written = written;
  copy.selection = selection;
  copy.project_bytes = ProjectFileBytes(working);
  try {
    if (lock_ && lock_->State() == SongLock::Status::kHeldElsewhere) return;  // that window's
    if (lock_ && lock_->Held()) {
      recovery_.Write(copy, *lock_);
    } else {
      recovery_.Write(copy);  // says why the folder cannot take it, or writes it after all
    }
    recovery_error_said_ = false;
  } catch (const std::exception&) {
    // Said once, not every few seconds; the next write tries again.
    if (recovery_error_said_) return;
    recovery_error_said_ = true;
    throw;
  }
}

void ProjectSession::RemoveRecoveryCopy() const {
  const EventTable& table = editing_.Table();
  // A copy of the song another window had open when this one opened it is never this one's,
  // not even after that window ended: it may be all a crashed window left.
  if (table.MidiPath.empty() || (lock_ && lock_->State() == SongLock::Status::kHeldElsewhere)) {
    return;
  }
  if (lock_ && lock_->Held()) {
    recovery_.Remove(ProjectFilePath(table), *lock_);
  } else {
    recovery_.Remove(ProjectFilePath(table));  // never one another window holds
  }
}
