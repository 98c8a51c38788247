#include "app/storyboard_link.h"

#include <QAction>
#include <QKeySequence>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "app/dialogs.h"
#include "app/handler_guard.h"
#include "app/show_link.h"
#include "app/window_places.h"
#include "make/picture_cache.h"
#include "song/media_player.h"
#include "song/midi_song.h"
#include "storyboard/storyboard_window.h"

StoryboardLink::StoryboardLink(QWidget& owner, WindowPlaces& places, ShowLink& show,
                               Dialogs& dialogs, DocumentReader document)
    : QObject(&owner),
      owner_(owner),
      places_(places),
      show_(show),
      dialogs_(dialogs),
      document_(std::move(document)),
      reading_(std::make_unique<EventTable>()) {
  // Every keystroke is an edit: the window reads the document once the keys have been handled.
  refresh_ = new QTimer(this);
  refresh_->setObjectName(QStringLiteral("StoryboardRefresh"));
  refresh_->setSingleShot(true);
  refresh_->setInterval(0);
  connect(refresh_, &QTimer::timeout, this, &StoryboardLink::Refresh);

  auto* action = new QAction(QStringLiteral("ストーリーボード"), &owner);
  action->setObjectName(QStringLiteral("StoryboardAction"));
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  action->setShortcutContext(Qt::WindowShortcut);
  owner.addAction(action);
  connect(action, &QAction::triggered, this,
          [this] { RunHandler(dialogs_, [this] { ShowWindow(); }); });
}

StoryboardLink::~StoryboardLink() = default;

StoryboardWindow* StoryboardLink::Window() {
  if (window_ != nullptr) return window_;
  window_ = new StoryboardWindow(show_.Pictures(), &owner_);
  window_->setObjectName(QStringLiteral("Storyboard"));
  places_.Track(*window_, QStringLiteral("Storyboard"));
  if (meter_) window_->SetSong(*meter_, division_);
  window_->SetProblems(problems_);
  connect(window_, &StoryboardWindow::EventSelected, this, &StoryboardLink::EventSelected);
  connect(window_, &StoryboardWindow::ShowRequested, this, [this](int event) {
    emit EventSelected(event);
    RunHandler(dialogs_, [this] { show_.ShowShow(); });
  });
  connect(window_, &StoryboardWindow::Failed, this,
          [this](const QString& message) { dialogs_.ShowError(message); });
  return window_;
}

void StoryboardLink::ShowWindow() {
  Window()->show();
  window_->raise();
  Refresh();
}

void StoryboardLink::DocumentEdited() {
  stale_ = true;
  if (window_ != nullptr && window_->isVisible()) refresh_->start();
}

void StoryboardLink::Refresh() {
  // A hidden window builds nothing; it catches up when shown again.
  if (window_ == nullptr || !window_->isVisible() || !stale_) return;
  stale_ = false;
  document_(*reading_);
  window_->SetDocument(*reading_);
  window_->SelectEvent(selected_);
}

void StoryboardLink::SongOpened(const MediaPlayer& player) {
  const std::shared_ptr<const MidiSong> song = player.Song();
  meter_ = song ? song->meter : Meter();
  division_ = player.Tempo().Division();
  problems_.clear();  // the last song's
  if (window_ == nullptr) return;
  window_->SetSong(*meter_, division_);
  window_->SetProblems(problems_);
}

void StoryboardLink::SetProblems(const std::vector<Problem>& problems) {
  problems_ = problems;
  if (window_ != nullptr) window_->SetProblems(problems_);
}

void StoryboardLink::SelectEvent(int event) {
  selected_ = event;
  if (window_ != nullptr) window_->SelectEvent(event);
}

void StoryboardLink::Close() {
  if (window_ != nullptr) window_->close();
}
