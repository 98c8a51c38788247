#include "app/project_file_link.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>
#include <ctime>
#include <exception>
#include <optional>

#include "app/dialogs.h"
#include "document/names.h"
#include "editing/song_lock.h"
#include "widgets/cp932_text.h"

namespace {

// A recovery copy is written this long after the first change that it does not hold yet, so it
// is never more than ten seconds behind.
constexpr int kRecoveryDelay = 5000;

}  // namespace

ProjectFileLink::ProjectFileLink(EditingModel& editing, Dialogs& dialogs, QObject* parent)
    : QObject(parent), session_(editing), editing_(editing), dialogs_(dialogs) {
  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("RecoveryTimer"));
  timer_->setSingleShot(true);
  timer_->setInterval(kRecoveryDelay);
}

void ProjectFileLink::Open(const std::string& cp932_midi_path, int32_t first_count) {
  const ProjectLoad load = session_.Open(cp932_midi_path, first_count);
  TellLock();
  if (!session_.NeedsBackup()) return;
  const QString file = QFileInfo(FromCp932(ProjectFilePath(editing_.Table()))).fileName();
  dialogs_.ShowNotice(QString::fromStdString(load.Message) +
                      QStringLiteral("。\nファイルはそのまま残し、最初に保存するときに"
                                     "元のファイルを %1.bak として残します。")
                          .arg(file));
}

bool ProjectFileLink::OfferRecoveryCopy() {
  const std::optional<RecoveryCopy> copy = session_.FindRecoveryCopy();
  if (!copy) return false;
  timer_->stop();  // the copy stays until the question is answered
  const QString written = QDateTime::fromSecsSinceEpoch(copy->written)
                              .toLocalTime()
                              .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  const Dialogs::Answer answer = dialogs_.AskYesNo(
      QStringLiteral("保存されていない変更の復元用コピーがあります（%1）。\n復元しますか？")
          .arg(written),
      FromCp932(editing_.Table().MidiPath));
  if (answer != Dialogs::Answer::Yes) {
    session_.RemoveRecoveryCopy();
    return false;
  }
  return session_.Restore(*copy);
}

ProjectFileLink::Answer ProjectFileLink::AskToSave() {
  const std::string& song = editing_.Table().MidiPath;
  const Dialogs::Answer answer =
      dialogs_.AskYesNoCancel(QStringLiteral("変更されています。保存しますか？"), FromCp932(song));
  if (answer == Dialogs::Answer::No) return Answer::kDiscard;
  if (answer != Dialogs::Answer::Yes) return Answer::kCancel;
  if (song.empty()) {
    // The project file lies beside the MIDI file; without one there is nowhere to save.
    dialogs_.ShowNotice(
        QStringLiteral("MIDIファイルを開いていないので保存できません。"
                       "保存せずに閉じるには「いいえ」を選んでください。"));
    return Answer::kCancel;
  }
  return Answer::kSave;
}

void ProjectFileLink::Changed() {
  // A recovery copy follows unsaved changes within the delay; it goes once they are saved.
  if (!timer_->isActive() && !editing_.Table().MidiPath.empty()) timer_->start();
}

void ProjectFileLink::Save() {
  timer_->stop();
  session_.Save();
}

void ProjectFileLink::KeepRecoveryCopy(bool modified, const EventTable& working,
                                       int32_t selection) {
  if (editing_.Table().MidiPath.empty()) return;
  if (!modified) {
    RemoveRecoveryCopy();
    return;
  }
  try {
    session_.WriteRecoveryCopy(working, selection, static_cast<int64_t>(std::time(nullptr)));
  } catch (const std::exception& error) {
    // The user may be tapping along: the reason goes to the status line, not into a box.
    emit StatusChanged(QString::fromStdString(error.what()));
  }
}

void ProjectFileLink::RemoveRecoveryCopy() {
  timer_->stop();
  session_.RemoveRecoveryCopy();
}

void ProjectFileLink::CloseSong() {
  RemoveRecoveryCopy();
  session_.ReleaseSong();
}

void ProjectFileLink::TellLock() {
  const SongLock* lock = session_.Lock();
  if (lock == nullptr || lock->Held()) return;
  const QString message = QString::fromStdString(lock->Message());
  if (lock->State() == SongLock::Status::kUnavailable) {
    // Nothing is wrong with the song: a line the user can read on, not a box to answer.
    emit StatusChanged(message);
    return;
  }
  // Two windows saving one project overwrite each other: the user must know before editing.
  dialogs_.ShowNotice(
      message +
      QStringLiteral("。\nこのウィンドウでの変更には復元用コピーを作りません (保存はできます)。"
                     "もう一方のウィンドウの復元用コピーはそのまま残します。"));
}
