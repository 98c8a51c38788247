#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "document/project_file.h"
#include "editing/editing_model.h"
#include "editing/recovery_store.h"
#include "editing/song_lock.h"

// The project file of the open song: read when the song opens, written on save, a recovery copy
// of the unsaved changes kept meanwhile, and a file that was not read whole kept as a backup
// before it is first replaced. Works on the editing model it is given, which must outlive it.
class ProjectSession {
 public:
  explicit ProjectSession(EditingModel& editing) : editing_(editing) {}
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  // Another song (CP932 path): its names, a table emptied of every field, then its project file,
  // and the lock that says it is open here (the last song's lock goes first). A
  // table left without events gets one new event (NewEvent) at `first_count`, so that typing is
  // never lost. The history is forgotten and the first event selected. A load that is not kLoaded
  // or kMissing makes the next save keep the file first (NeedsBackup).
  ProjectLoad Open(const std::string& cp932_midi_path, int32_t first_count);
  bool NeedsBackup() const { return backup_before_save_; }
  // The open song's lock, when a song is open. While another window holds the song, its
  // recovery copy is that window's: it is neither offered, written nor removed from here.
  const SongLock* Lock() const { return lock_.get(); }
  // The song is closed: its lock goes (remove the recovery copy first).
  void ReleaseSong() { lock_.reset(); }

  // Writes the table (its edits committed) beside the song; the state saved is clean and the
  // recovery copy goes. Throws ProjectFileError or FileWriteError; the state stays unsaved.
  void Save();

  // The recovery copy of the open project, if one can be read: never throws.
  std::optional<RecoveryCopy> FindRecoveryCopy() const;
  // Makes the copy's events the table's, as one step (undoing it gives back the project as
  // saved). False when the copy holds no events.
  bool Restore(const RecoveryCopy& copy);
  // Writes `working` (the table with the edits still in the controls) as the recovery copy,
  // made at `written` (seconds since 1970). A failure throws once; until a write succeeds
  // again, the next failures are silent.
  void WriteRecoveryCopy(const EventTable& working, int32_t selection, int64_t written);
  void RemoveRecoveryCopy() const;

  void SetRecoveryFolder(const std::string& folder) { recovery_ = RecoveryStore(folder); }
  const RecoveryStore& Recovery() const { return recovery_; }

 private:
  EditingModel& editing_;
  RecoveryStore recovery_{RecoveryStore::DefaultFolder()};
  bool recovery_error_said_ = false;
  bool backup_before_save_ = false;  // the project file is not one: keep it before replacing it
  std::unique_ptr<SongLock> lock_;
};
