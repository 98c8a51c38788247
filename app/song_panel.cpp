#include "app/song_panel.h"

#include "app/scroll_codes.h"
#include "document/number_text.h"
#include "transport/song_transport.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

void SongPanel::SetLength(int32_t length) {
  ui_.TimeBar->setMaximum(length);
  ui_.TimeBar2->setMaximum(length);
}

bool SongPanel::PlayOrStop() {
  const bool playing = transport_.PlayOrStop();
  ui_.Play->setText(playing ? QStringLiteral("停止") : QStringLiteral("再生"));
  return playing;
}

void SongPanel::Poll() {
  // A song that ended by itself: the next click plays, and the caption says so.
  if (!transport_.IsPlaying() && ui_.Play->text() != QStringLiteral("再生")) {
    ui_.Play->setText(QStringLiteral("再生"));
  }
  if (dragging_) return;
  const int32_t position = transport_.Position();
  ShowCounter(position);
  ui_.TimeBar->setValue(position);
}

void SongPanel::ShowCounter(int32_t position) {
  // The position first, so that the number rules read it back.
  const QString text = QString::fromStdString(transport_.CounterText(position));
  if (ui_.Counter->text() == text) return;
  ui_.Counter->setText(text);
  ui_.Counter->adjustSize();
}

int32_t SongPanel::CounterNumber() const { return ReadNumber(ToCp932(ui_.Counter->text())); }

void SongPanel::SeekTo(int32_t position) {
  transport_.Seek(position);
  ShowCounter(transport_.Position());
  ui_.TimeBar->setValue(transport_.Position());
}

bool SongPanel::PositionScrolled(int code, bool song_open) {
  dragging_ = code != ScrollCodes::kEndScroll && code != ScrollCodes::kThumbPosition;
  if (!song_open || code != ScrollCodes::kEndScroll) return false;
  transport_.Seek(ui_.TimeBar->value());
  return true;
}

int32_t SongPanel::ShownPosition() const {
  return dragging_ ? ui_.TimeBar->value() : transport_.Position();
}
