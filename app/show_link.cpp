#include "app/show_link.h"

#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "document/names.h"
#include "make/command_generator.h"
#include "make/picture_cache.h"
#include "preview/tform2.h"
#include "show/show_window.h"
#include "show/timeline_widget.h"
#include "song/media_player.h"
#include "song/midi_song.h"
#include "text/cp932.h"
#include "transport/song_transport.h"
#include "widgets/cp932_text.h"

namespace {

constexpr int kTimelineInterval = 30;  // ms between two frames of the timeline
// Fades as the build makes them, in sixteenths (12 ticks each).
constexpr int32_t kFadeOutLead = CommandGenerator::kFadeOutTicks / 12;
constexpr int32_t kFadeLength = CommandGenerator::kFadeTicks / 12;

}  // namespace

ShowLink::ShowLink(QWidget& owner, SongTransport& transport, const EventTable& table,
                   DocumentReader document, PositionReader position)
    : QObject(&owner),
      owner_(owner),
      transport_(transport),
      table_(table),
      document_(std::move(document)),
      position_(std::move(position)),
      pictures_(std::make_shared<PictureCache>()) {
  timeline_timer_ = new QTimer(this);
  timeline_timer_->setObjectName(QStringLiteral("TimelineTimer"));
  timeline_timer_->setInterval(kTimelineInterval);
  connect(timeline_timer_, &QTimer::timeout, this, &ShowLink::UpdatePosition);
}

ShowLink::~ShowLink() = default;

void ShowLink::AttachPreview(TForm2* preview) {
  preview_ = preview;
  if (preview_ != nullptr) preview_->SetPictureCache(pictures_);
}

void ShowLink::ShowPreview() {
  if (preview_ == nullptr) return;
  preview_->show();
  preview_->raise();
  preview_->activateWindow();
}

void ShowLink::FeedPicture(const std::string& picture, bool tile) {
  if (preview_ == nullptr) return;
  if (picture.empty()) {
    preview_->SetPicture(QString(), tile);
    return;
  }
  // A bare name lies in the song's folder, as the build takes it.
  const QString path = QString::fromStdString(Cp932ToUtf8(ResolvePicturePath(table_, picture)));
  preview_->SetPicture(QFileInfo(path).isFile() ? path : QString(), tile);
}

void ShowLink::FeedLyrics(const std::string& cp932_lyrics, int align, uint32_t colour) {
  if (preview_ != nullptr) preview_->SetLyrics(cp932_lyrics, align, colour);
}

void ShowLink::FeedRect(const EventItem& item) {
  if (preview_ != nullptr) preview_->SetRect(item.X1, item.Y1, item.X2, item.Y2);
}

ShowWindow* ShowLink::Show() {
  if (show_ != nullptr) return show_;
  show_ = new ShowWindow(transport_.Player(), document_, position_, pictures_, &owner_);
  show_->PlaceBeside(owner_);
  timeline_ = show_->Timeline();
  connect(timeline_, &TimelineWidget::SeekRequested, this, &ShowLink::SeekRequested);
  // The drag ends at the release: one drag, one step.
  connect(timeline_, &TimelineWidget::MarkerMoved, this, &ShowLink::MarkerMoved);
  connect(timeline_, &TimelineWidget::MarkerActivated, this, &ShowLink::MarkerActivated);
  emit ShowMade();
  timeline_timer_->start();
  return show_;
}

void ShowLink::ShowShow() {
  Show();
  show_->show();
  show_->raise();
}

void ShowLink::ToggleTimeline() {
  Show();
  if (show_->isVisible() && show_->TimelineShown()) {
    show_->ShowTimeline(false);
    return;
  }
  show_->ShowTimeline(true);
  show_->show();  // not activated, as by the Test button
  show_->raise();
}

TimelineWidget* ShowLink::Timeline() {
  Show();
  return timeline_;
}

void ShowLink::UpdateSong(int32_t loop_from, int32_t loop_to) {
  if (!timeline_) return;
  const MediaPlayer& player = transport_.Player();
  const std::shared_ptr<const MidiSong> song = player.Song();
  timeline_->SetSong(song ? song->meter : Meter(), player.Tempo().Division(), player.Length());
  timeline_->SetLoop(loop_from, loop_to);
  timeline_->SetSyllables(syllables_);
}

void ShowLink::SetSyllables(std::vector<int64_t> ticks) {
  syllables_ = std::move(ticks);
  if (timeline_) timeline_->SetSyllables(syllables_);
}

void ShowLink::UpdateLoop(int32_t loop_from, int32_t loop_to) {
  if (timeline_) timeline_->SetLoop(loop_from, loop_to);
}

void ShowLink::UpdateMarkers(int selection, const EventItem& controls) {
  if (!timeline_) return;
  std::vector<TimelineMarker> markers;
  for (int i = 0; i < table_.EventCount; ++i) {
    const EventItem& item = i == selection ? controls : table_.events[i];
    TimelineMarker marker;
    marker.index = i;
    marker.count = item.Count;
    marker.mark = FromCp932(item.Mark);
    if (item.Effect == kEffectFadeWhite || item.Effect == kEffectFadeBlack) {
      if (marker.count >= kFadeOutLead) {
        marker.fade_out_from = marker.count - kFadeOutLead;
        marker.fade_out_to = marker.fade_out_from + kFadeLength;
      }
      marker.fade_in_to = marker.count + kFadeLength;
    }
    markers.push_back(marker);
  }
  timeline_->SetMarkers(std::move(markers));
  timeline_->SetSelected(selection);
}

void ShowLink::UpdatePosition() {
  if (!timeline_ || !timeline_->isVisible() || table_.MidiPath.empty()) return;
  timeline_->SetPosition(transport_.ExactPosition(), transport_.IsPlaying());
}

void ShowLink::CloseAll() {
  if (preview_ != nullptr) preview_->close();
  if (show_ != nullptr) show_->close();
}
