// The main window's timing tools: exact taps, speed, the loop, nudges, the status line, the
// timing settings and the timeline strip of the show window.
#include <QLabel>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <limits>

#include "app/tform1.h"
#include "app/timing_dialog.h"
#include "document/number_text.h"
#include "make/command_generator.h"
#include "show/show_window.h"
#include "show/timeline_widget.h"
#include "song/media_player.h"
#include "song/midi_song.h"
#include "song/tap_position.h"
#include "ui_tform1.h"
#include "widgets/cp932_text.h"

namespace {

constexpr int kSpeeds[] = {25, 50, 75, 100};
constexpr int kTimelineInterval = 30;  // ms between two frames of the timeline
// Fades as the build makes them, in sixteenths (12 ticks each).
constexpr int32_t kFadeOutLead = CommandGenerator::kFadeOutTicks / 12;
constexpr int32_t kFadeLength = CommandGenerator::kFadeTicks / 12;

}  // namespace

void TForm1::CreatePlaybackExtras() {
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setGeometry(248, 392, 432, 14);
  status_->hide();

  auto add = [this](const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, handler] { RunHandler(dialogs_, handler); });
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { SpeedKey(1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { SpeedKey(-1); });
  add(QKeySequence(Qt::Key_L), [this] { LoopKey(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { NudgeKey(1, false); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Left), [this] { NudgeKey(-1, false); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), [this] { NudgeKey(1, true); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), [this] { NudgeKey(-1, true); });
  add(QKeySequence(Qt::CTRL | Qt::Key_K), [this] { TimingKey(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_T), [this] { TimelineKey(); });

  timeline_timer_ = new QTimer(this);
  timeline_timer_->setObjectName(QStringLiteral("TimelineTimer"));
  timeline_timer_->setInterval(kTimelineInterval);
  connect(timeline_timer_, &QTimer::timeout, this, Guard(&TForm1::UpdateTimelinePosition));
}

void TForm1::UseSettingsFile(const QString& path) {
  settings_ = TimingSettings(path);
  player_.SetSpeed(settings_.Speed());
}

void TForm1::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->setVisible(!text.isEmpty());
  ui_->Label6->setVisible(text.isEmpty());  // the version line shares the place
}

int32_t TForm1::TapPosition() {
  if (doc_.MidiPath.empty()) return ReadNumber(ToCp932(ui_->Counter->text()));
  TapRule rule;
  if (player_.IsPlaying()) {
    rule.delay_micros = int64_t(settings_.ReactionDelayMs()) * 1000;
    rule.speed_percent = player_.Speed();
  }
  const std::shared_ptr<const MidiSong> song = player_.Song();
  if (song && settings_.SnapChannel() > 0) {
    rule.note_ticks = NoteStartTicks(*song, settings_.SnapChannel() - 1);
  }
  const int64_t tap = TapSixteenth(player_.Tempo(), player_.SongMicros(), rule);
  const int32_t position = static_cast<int32_t>(std::min<int64_t>(tap, player_.Length()));
  SetCounterText(position);
  return position;
}

int32_t TForm1::SelectedCount() const { return ui_->TimeBar2->value(); }

void TForm1::SpeedKey(int direction) {
  const int* speed = std::find(std::begin(kSpeeds), std::end(kSpeeds), player_.Speed());
  const int at = speed == std::end(kSpeeds) ? 3 : static_cast<int>(speed - kSpeeds);
  const int next = std::clamp(at + direction, 0, 3);
  player_.SetSpeed(kSpeeds[next]);
  settings_.SetSpeed(kSpeeds[next]);
  if (!doc_.MidiPath.empty()) SetCounterText(player_.Position());
}

void TForm1::LoopKey() {
  if (FocusInTextEdit() || doc_.MidiPath.empty()) return;
  if (looping_) {
    looping_ = false;
    player_.SetLoop(0, 0);
  } else {
    if (editing_.Selection() < 0) return;
    const int32_t from = SelectedCount();
    // The next event in time, or the end of the song.
    int32_t to = player_.Length();
    for (int i = 0; i < doc_.EventCount; ++i) {
      const int32_t count = i == editing_.Selection() ? from : doc_.events[i].Count;
      if (count > from) to = std::min(to, count);
    }
    if (to <= from) return;
    looping_ = true;
    loop_from_ = from;
    loop_to_ = to;
    player_.SetLoop(from, to);
    const bool playing = player_.IsPlaying();
    player_.Seek(from);
    if (playing) player_.Resume();
  }
  if (timeline_) timeline_->SetLoop(looping_ ? loop_from_ : 0, looping_ ? loop_to_ : 0);
  SetCounterText(player_.Position());
}

void TForm1::NudgeKey(int direction, bool with_later) {
  if (doc_.MidiPath.empty() || editing_.Selection() < 0 || editing_.Selection() >= doc_.EventCount)
    return;
  const int32_t from = SelectedCount();
  const int32_t length = player_.Length();
  auto moved = [&](int32_t count) { return std::clamp(count + direction, 0, length); };
  // At either end of the song nothing moves, so that the spacing of a group is kept.
  if (moved(from) == from) return;
  std::vector<EventTime> changes{{editing_.Selection(), moved(from)}};
  if (with_later) {
    for (int i = 0; i < doc_.EventCount; ++i) {
      if (i != editing_.Selection() && doc_.events[i].Count >= from) {
        changes.push_back({i, moved(doc_.events[i].Count)});
      }
    }
  }
  RetimeEvents(changes);  // one press, one step
}

void TForm1::TimingKey() {
  TimingDialog dialog(settings_, this);
  dialog.exec();
}

TimelineWidget* TForm1::Timeline() {
  MakeShowWindow();
  return timeline_;
}

void TForm1::ConnectTimeline() {
  timeline_ = show_->Timeline();
  connect(timeline_, &TimelineWidget::SeekRequested, this, Guard(&TForm1::TimelineSeek));
  // The drag ends at the release: one drag, one step.
  connect(timeline_, &TimelineWidget::MarkerMoved, this, Guard(&TForm1::TimelineMove));
  connect(timeline_, &TimelineWidget::MarkerActivated, this, Guard(&TForm1::TimelineActivate));
  UpdateTimelineSong();
  timeline_timer_->start();
}

void TForm1::TimelineKey() {
  MakeShowWindow();
  if (show_->isVisible() && show_->TimelineShown()) {
    show_->ShowTimeline(false);
    return;
  }
  show_->ShowTimeline(true);
  show_->show();  // not activated, as by the Test button
  show_->raise();
}

void TForm1::TimelineMove(int index, int32_t count) { RetimeEvents({{index, count}}); }

void TForm1::UpdateTimelineSong() {
  if (!timeline_) return;
  const std::shared_ptr<const MidiSong> song = player_.Song();
  timeline_->SetSong(song ? song->meter : Meter(), player_.Tempo().Division(), player_.Length());
  timeline_->SetLoop(looping_ ? loop_from_ : 0, looping_ ? loop_to_ : 0);
  UpdateTimelineMarkers();
  UpdateTimelinePosition();
}

void TForm1::UpdateTimelineMarkers() {
  if (!timeline_) return;
  std::vector<TimelineMarker> markers;
  for (int i = 0; i < doc_.EventCount; ++i) {
    const EventItem& item = doc_.events[i];
    TimelineMarker marker;
    marker.index = i;
    marker.count = i == editing_.Selection() ? SelectedCount() : item.Count;
    marker.mark = FromCp932(i == editing_.Selection() ? ToCp932(ui_->Mark->text()) : item.Mark);
    const int effect = i == editing_.Selection() ? ui_->Effect->currentIndex() : item.Effect;
    if (effect == 1 || effect == 2) {
      if (marker.count >= kFadeOutLead) {
        marker.fade_out_from = marker.count - kFadeOutLead;
        marker.fade_out_to = marker.fade_out_from + kFadeLength;
      }
      marker.fade_in_to = marker.count + kFadeLength;
    }
    markers.push_back(marker);
  }
  timeline_->SetMarkers(std::move(markers));
  timeline_->SetSelected(editing_.Selection());
}

void TForm1::UpdateTimelinePosition() {
  if (!timeline_ || !timeline_->isVisible() || doc_.MidiPath.empty()) return;
  // Fractions of a sixteenth, so that the strip moves smoothly.
  const TempoMap& tempo = player_.Tempo();
  const double position =
      double(tempo.TickAtMicros(player_.SongMicros())) * 4 / double(tempo.Division());
  timeline_->SetPosition(position, player_.IsPlaying());
}

void TForm1::TimelineSeek(int32_t position) {
  if (doc_.MidiPath.empty()) return;
  const bool playing = player_.IsPlaying();
  player_.Seek(position);
  if (playing) player_.Resume();
  SetCounterText(player_.Position());
  ui_->TimeBar->setValue(player_.Position());
  UpdateTimelinePosition();
}

void TForm1::TimelineActivate(int index) {
  if (index < 0 || index >= doc_.EventCount) return;
  ui_->EventList->setCurrentRow(index);
  EventListClick();
  raise();
  activateWindow();
}
