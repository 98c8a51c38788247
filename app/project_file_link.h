#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>

#include "editing/project_session.h"

class Dialogs;
class QTimer;

// The project file as the main window keeps it: the project session, what the window asks
// and tells about it through its dialogs, and the timer that writes the recovery copy within
// a few seconds of a change (its timeout is the window's RecoveryTimerTimer).
class ProjectFileLink : public QObject {
  Q_OBJECT

 public:
  ProjectFileLink(EditingModel& editing, Dialogs& dialogs, QObject* parent);

  ProjectSession& Session() { return session_; }
  const ProjectSession& Session() const { return session_; }
  QTimer* RecoveryTimer() const { return timer_; }

  // The song (CP932 path) opens with its project; a file not read whole is kept as it is and
  // backed up at the first save, and the user is told why and where. A song another window has
  // open is said so in a notice; a lock that cannot be taken says why in the status line.
  void Open(const std::string& cp932_midi_path, int32_t first_count);
  // Offers the open project's recovery copy. True when the user took it (the table changed);
  // a declined copy is removed.
  bool OfferRecoveryCopy();

  // "変更されています。保存しますか？" Yes without a song cannot save and says so.
  enum class Answer { kSave, kDiscard, kCancel };
  Answer AskToSave();

  // A change: the recovery copy follows within the delay (while a song is open).
  void Changed();
  // Saves the table as it stands (the controls committed); no copy is written meanwhile.
  void Save();
  // The timer: writes `working` as the copy while there are unsaved changes, else removes it.
  void KeepRecoveryCopy(bool modified, const EventTable& working, int32_t selection);
  void RemoveRecoveryCopy();
  // The window closes: the copy goes, then the song's lock.
  void CloseSong();

 signals:
  // A notice for the status line: why recovery copies cannot be kept.
  void StatusChanged(const QString& text);

 private:
  void TellLock();

  ProjectSession session_;
  EditingModel& editing_;
  Dialogs& dialogs_;
  QTimer* timer_ = nullptr;
};
