#include "app/lyrics_link.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QListWidget>
#include <QShortcut>
#include <algorithm>
#include <memory>
#include <numeric>

#include "app/event_editing.h"
#include "app/handler_guard.h"
#include "app/show_link.h"
#include "editing/add_event_command.h"
#include "editing/edit_command.h"
#include "editing/editing_model.h"
#include "editing/new_event.h"
#include "lyrics/lyric_events.h"
#include "lyrics/lyric_pages.h"
#include "lyrics/lyric_sheet.h"
#include "lyrics/song_lyrics.h"
#include "lyricsdialog/lyrics_import_dialog.h"
#include "song/media_player.h"
#include "transport/song_transport.h"
#include "widgets/cp932_text.h"

namespace {

// A page of the queue tapped in: the event is added and the page leaves the queue; undone, the
// page is the next one again.
class PageTapCommand : public EditCommand {
 public:
  PageTapCommand(const EventTable& table, const EventItem& fields, LyricQueue& queue)
      : add_(table, table.EventCount, fields), queue_(&queue), page_(*queue.Next()) {}

  void Redo(EventTable& table) const override {
    add_.Redo(table);
    if (!queue_->Empty()) queue_->Take();
  }
  void Undo(EventTable& table) const override {
    add_.Undo(table);
    queue_->Return(page_);
  }

 private:
  AddEventCommand add_;
  LyricQueue* queue_;
  LyricPage page_;
};

}  // namespace

LyricsLink::LyricsLink(EventEditing& events, const EditingModel& editing, SongTransport& transport,
                       ShowLink& show, QWidget& widget, Dialogs& dialogs, QListWidget& list)
    : QObject(&widget),
      events_(events),
      editing_(editing),
      transport_(transport),
      show_(show),
      widget_(widget),
      dialogs_(dialogs) {
  auto* import = new QAction(QStringLiteral("歌詞の取り込み"), &widget);
  import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  import->setShortcutContext(Qt::WindowShortcut);
  widget.addAction(import);
  list.addAction(import);
  connect(import, &QAction::triggered, this,
          [this] { RunHandler(dialogs_, [this] { ImportClick(); }); });

  auto* retime = new QAction(QStringLiteral("ここから打ち直す"), &list);
  list.addAction(retime);
  connect(retime, &QAction::triggered, this,
          [this] { RunHandler(dialogs_, [this] { RetimeFromHereClick(); }); });

  auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), &widget);
  stop->setContext(Qt::WindowShortcut);
  connect(stop, &QShortcut::activated, this, [this] { StopRetiming(); });
}

void LyricsLink::ImportClick() {
  // What the controls hold is part of the document the dialog sees, as for Make.
  if (editing_.Selection() >= 0) events_.CommitWorkingCopy(editing_.Selection());
  const std::shared_ptr<const MidiSong> song = transport_.Player().Song();
  LyricsImportDialog dialog(editing_.Table(), editing_.Selection(), song.get(), &widget_);
  if (dialog.exec() != QDialog::Accepted) return;
  const LyricImportSession& session = dialog.Session();
  if (session.CurrentSource() == LyricImportSession::Source::kSheet) {
    QueuePages(session.Pages());
    return;
  }
  size_t left_out = 0;
  const std::vector<EventItem> live = session.PlacedEvents(&left_out);
  auto replacement = std::make_unique<EventTable>(editing_.Table());
  replacement->EventCount = static_cast<int32_t>(live.size());
  std::copy(live.begin(), live.end(), replacement->events.begin());
  events_.ReplaceEvents(*replacement, live.empty() ? -1 : 0);
  if (left_out > 0) {
    emit Status(QStringLiteral("イベントは%1個までです。%2ページは取り込めませんでした。")
                    .arg(EventTable::kCapacity)
                    .arg(left_out));
  }
}

void LyricsLink::QueueSheetFile(const QString& path) {
  size_t replaced = 0;
  QueuePages(ReadLyricSheet(path.toStdString(), kDefaultLinesPerPage, &replaced));
}

void LyricsLink::QueuePages(std::vector<LyricPage> pages) {
  StopRetiming();
  queue_ = LyricQueue(std::move(pages));
  ShowNext();
}

void LyricsLink::RetimeFromHereClick() {
  const EventTable& table = editing_.Table();
  const int selection = editing_.Selection();
  if (selection < 0 || selection >= table.EventCount) return;
  events_.CommitWorkingCopy(selection);  // the controls' edits first, so their time counts
  std::vector<int> order(static_cast<size_t>(table.EventCount));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return table.events[a].Count < table.events[b].Count; });
  retime_.assign(std::find(order.begin(), order.end(), selection), order.end());
  retime_next_ = 0;
  ShowNext();
}

void LyricsLink::StopRetiming() {
  if (retime_.empty()) return;
  retime_.clear();
  emit Status(QString());
  ShowNext();
}

bool LyricsLink::TapIn(int32_t tap) {
  if (!retime_.empty()) {
    const int index = retime_[retime_next_++];
    if (retime_next_ >= retime_.size()) retime_.clear();
    events_.RetimeEvents({{index, tap}});
    if (retime_.empty()) emit Status(QString());
    ShowNext();
    return true;
  }
  if (queue_.Empty()) return false;
  const EventTable& table = editing_.Table();
  if (table.EventCount >= EventTable::kCapacity) return false;  // Add says why
  const EventItem event = EventForPage(*queue_.Next(), tap, NewEvent(table, tap));
  events_.ApplyStep(std::make_unique<PageTapCommand>(table, event, queue_), table.EventCount);
  if (queue_.Empty()) emit Status(QString());
  return true;
}

bool LyricsLink::Waiting() const { return !retime_.empty() || !queue_.Empty(); }

void LyricsLink::SongOpened() {
  // A sheet belongs to the song it was queued for.
  queue_ = LyricQueue();
  retime_.clear();
  syllable_ticks_.clear();
  if (const std::shared_ptr<const MidiSong> song = transport_.Player().Song()) {
    for (const Syllable& syllable : ReadSongLyrics(*song).syllables) {
      syllable_ticks_.push_back(syllable.tick);
    }
  }
  std::sort(syllable_ticks_.begin(), syllable_ticks_.end());
  syllable_ticks_.erase(std::unique(syllable_ticks_.begin(), syllable_ticks_.end()),
                        syllable_ticks_.end());
  show_.SetSyllables(syllable_ticks_);
  ShowNext();
}

void LyricsLink::ShowNext() {
  if (!retime_.empty()) {
    const EventTable& table = editing_.Table();
    const int index = retime_[retime_next_];
    emit Status(QStringLiteral("打ち直し: 次は #%1 %2 (残り %3、Esc で終わり)")
                    .arg(index + 1)
                    .arg(FromCp932(table.events[index].Mark))
                    .arg(retime_.size() - retime_next_));
  } else if (!queue_.Empty()) {
    emit Status(QString::fromStdString(queue_.StatusText()));
  }
}
