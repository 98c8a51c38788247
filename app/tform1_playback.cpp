// The main window's playback and time controls: opening a song, play and stop, rewind, the
// position poll, the two time bars, taps, speed, loop, nudges and the timeline.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <stdexcept>

#include "app/dialogs.h"
#include "app/tform1.h"
#include "app/tform1_scroll_codes.h"
#include "document/names.h"
#include "document/number_text.h"
#include "song/media_player.h"
#include "song/midi_song.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

namespace {

// The names of the folder's BMP files: regular files ending in ".bmp" in any letter case,
// hidden files left out, in name order.
QStringList BmpFileNames(const QString& folder) {
  QStringList names;
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.fileName().startsWith(QLatin1Char('.'))) continue;
    if (!entry.fileName().endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) continue;
    names.append(entry.fileName());
  }
  return names;
}

}  // namespace

void TForm1::OpenClick() {
  if (!doc_.MidiPath.empty() && !QuerySave()) return;
  const QString path = dialogs_.OpenFileName(
      QStringLiteral("MIDIファイル (*.mid *.MID *.rmi *.RMI)"), MidiFolderPath());
  if (path.isEmpty()) return;
  OpenMidiFile(path);
}

void TForm1::OpenMidiFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const std::string cp932Path = ToCp932(absolute);
  if (FromCp932(cp932Path) != absolute) {
    // The document keeps paths in CP932; a name it cannot hold would name another file.
    throw std::runtime_error("ファイル名を Shift-JIS で表せません: " + absolute.toStdString());
  }
  // The new song opens first: when it fails, the previous song, names and table stay.
  player_.Open(absolute.toStdString());
  ShowStatus(QString::fromStdString(player_.RepairNotice()));
  looping_ = false;  // the new song starts without a loop

  // The previous song's changes were saved or declined.
  RemoveRecoveryCopy();
  SetMidiPath(doc_, cp932Path);
  ui_->Picture->clear();
  ui_->Picture->addItems(BmpFileNames(QFileInfo(absolute).absolutePath()));
  editing_.Select(-1);
  doc_.EventCount = 0;
  player_.Seek(0);
  const int32_t length = std::max<int32_t>(player_.Length(), 0);
  ui_->TimeBar->setMaximum(length);
  ui_->TimeBar2->setMaximum(length);
  caption_ = QStringLiteral("Varnel WRD Maker ") + QFileInfo(absolute).fileName();
  LoadDocument();
  UpdateTimelineSong();
}

void TForm1::PlayClick() {
  if (player_.IsPlaying()) {
    player_.Stop();
    ui_->Play->setText(QStringLiteral("再生"));
    return;
  }
  player_.Play();
  ui_->Play->setText(QStringLiteral("停止"));
  if (!sound_notice_checked_) {
    sound_notice_checked_ = true;
    const std::string notice = player_.TakeSoundNotice();
    if (!notice.empty()) ShowStatus(QString::fromStdString(notice));
  }
}

void TForm1::Button1Click() {
  const bool playing = player_.IsPlaying();
  player_.Seek(0);
  if (playing) player_.Resume();
}

void TForm1::EventListDoubleClick() {
  const int row = ui_->EventList->currentRow();
  if (doc_.MidiPath.empty() || row < 0 || row >= doc_.EventCount) return;
  const bool playing = player_.IsPlaying();
  player_.Seek(doc_.events[row].Count);
  if (playing) player_.Resume();
  ui_->TimeBar->setValue(player_.Position());
}

void TForm1::Timer1Timer() {
  if (doc_.MidiPath.empty()) return;
  // A song that ended by itself: the next click plays, and the caption says so.
  if (!player_.IsPlaying() && ui_->Play->text() != QStringLiteral("再生")) {
    ui_->Play->setText(QStringLiteral("再生"));
  }
  if (dragging_) return;
  const int32_t position = player_.Position();
  SetCounterText(position);
  ui_->TimeBar->setValue(position);
}

void TForm1::SetCounterText(int32_t position) {
  // The position first, so that the number rules read it back; then bar and beat from the
  // song's time signatures, the speed when it is not 100 % and the loop.
  const std::shared_ptr<const MidiSong> song = player_.Song();
  const Meter meter = song ? song->meter : Meter();
  const int64_t division = player_.Tempo().Division();
  const Meter::Beat beat = meter.At(int64_t(std::max<int32_t>(position, 0)) * division / 4);
  QString text = QStringLiteral("%1 (%2:%3)").arg(position).arg(beat.bar).arg(beat.beat);
  if (player_.Speed() != 100) text += QStringLiteral(" %1%").arg(player_.Speed());
  if (looping_) text += QStringLiteral(" ループ");
  if (ui_->Counter->text() == text) return;
  ui_->Counter->setText(text);
  ui_->Counter->adjustSize();
}

void TForm1::TimeBarScroll(int code) {
  dragging_ = code != ScrollCodes::kEndScroll && code != ScrollCodes::kThumbPosition;
  if (doc_.MidiPath.empty() || code != ScrollCodes::kEndScroll) return;
  const bool playing = player_.IsPlaying();
  player_.Seek(ui_->TimeBar->value());
  if (playing) player_.Resume();
  UpdateTimelinePosition();
}

void TForm1::TimeBar2Scroll(int code) {
  if (code != ScrollCodes::kEndScroll) return;
  // The release of the bar is one step; edits made before it are another.
  const int32_t released = ui_->TimeBar2->value();
  const int32_t count =
      std::clamp(loaded_.Count, ui_->TimeBar2->minimum(), ui_->TimeBar2->maximum());
  ui_->TimeBar2->setValue(count);
  CommitGesture([released](Item& item) { item.Count = released; });
}

void TForm1::TimeClick() {
  // The position of the press, as the bar can hold it; the Count text and the unsaved-changes
  // mark follow.
  const int32_t position =
      std::clamp(TapPosition(), ui_->TimeBar2->minimum(), ui_->TimeBar2->maximum());
  CommitGesture([position](Item& item) { item.Count = position; });
}

void TForm1::PlayKey() {
  if (FocusInTextEdit()) return;
  PlayClick();
}

void TForm1::RewindKey() {
  if (FocusInTextEdit()) return;
  Button1Click();
}

void TForm1::AddKey() { AddClick(); }

void TForm1::StepKey(int direction) {
  // Through the bar's own step, so that the position is clamped and sought at the end.
  ui_->TimeBar->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                            : QAbstractSlider::SliderSingleStepSub);
}

QString TForm1::MidiFolderPath() const {
  if (doc_.MidiFolder.empty()) return QString();
  return QString::fromStdString(Cp932ToUtf8(doc_.MidiFolder));
}
