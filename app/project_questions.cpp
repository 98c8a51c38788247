#include "app/project_questions.h"

#include <QDateTime>
#include <QFileInfo>

#include "app/dialogs.h"
#include "widgets/cp932_text.h"

SaveAnswer AskToSave(Dialogs& dialogs, const std::string& cp932_midi_path) {
  const Dialogs::Answer answer = dialogs.AskYesNoCancel(
      QStringLiteral("変更されています。保存しますか？"), FromCp932(cp932_midi_path));
  if (answer == Dialogs::Answer::No) return SaveAnswer::kDiscard;
  if (answer != Dialogs::Answer::Yes) return SaveAnswer::kCancel;
  if (cp932_midi_path.empty()) {
    // The project file lies beside the MIDI file; without one there is nowhere to save.
    dialogs.ShowNotice(
        QStringLiteral("MIDIファイルを開いていないので保存できません。"
                       "保存せずに閉じるには「いいえ」を選んでください。"));
    return SaveAnswer::kCancel;
  }
  return SaveAnswer::kSave;
}

void TellProjectKept(Dialogs& dialogs, const ProjectLoad& load,
                     const std::string& cp932_project_path) {
  const QString file = QFileInfo(FromCp932(cp932_project_path)).fileName();
  dialogs.ShowNotice(QString::fromStdString(load.Message) +
                     QStringLiteral("。\nファイルはそのまま残し、最初に保存するときに"
                                    "元のファイルを %1.bak として残します。")
                         .arg(file));
}

bool AskToRestore(Dialogs& dialogs, const RecoveryCopy& copy, const std::string& cp932_midi_path) {
  const QString written = QDateTime::fromSecsSinceEpoch(copy.written)
                              .toLocalTime()
                              .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  return dialogs.AskYesNo(
             QStringLiteral("保存されていない変更の復元用コピーがあります（%1）。\n復元しますか？")
                 .arg(written),
             FromCp932(cp932_midi_path)) == Dialogs::Answer::Yes;
}
