#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"
#include "song/meter.h"

class Dialogs;
class MediaPlayer;
class QTimer;
class QWidget;
class ShowLink;
class StoryboardWindow;
class WindowPlaces;

// The storyboard beside the main window: made on first use with the show window's pictures,
// kept up with the working document (read at the next turn after an edit, while it is shown),
// the song's meter, the checks' problems and the selection. Its gestures come out as signals.
class StoryboardLink : public QObject {
  Q_OBJECT

 public:
  using DocumentReader = std::function<void(EventTable& into)>;
  // `owner` is the main window, which gets "ストーリーボード" (Ctrl+B); the storyboard shows
  // the show window's pictures and opens it on a double click. All must outlive the link.
  StoryboardLink(QWidget& owner, WindowPlaces& places, ShowLink& show, Dialogs& dialogs,
                 DocumentReader document);
  ~StoryboardLink() override;

  // The window, made on first use.
  StoryboardWindow* Window();
  // Shows the window with the document as it stands, without taking the focus from the main
  // window (its keys keep working).
  void ShowWindow();

  // The document changed (a step, or an edit still in the controls).
  void DocumentEdited();
  // A song opened: its bars and beats.
  void SongOpened(const MediaPlayer& player);
  // What the checks found in the working document.
  void SetProblems(const std::vector<Problem>& problems);
  // The selected event (table order, from 0; -1: none).
  void SelectEvent(int event);

  void Close();

 signals:
  // A tile was clicked or double-clicked: select the event as a click in the event list does
  // and seek the song to it (a double click then shows the show window).
  void EventSelected(int event);

 private:
  // Hands the working document to the window, when it is shown.
  void Refresh();

  QWidget& owner_;
  WindowPlaces& places_;
  ShowLink& show_;
  Dialogs& dialogs_;
  DocumentReader document_;
  StoryboardWindow* window_ = nullptr;
  QTimer* refresh_ = nullptr;
  std::unique_ptr<EventTable> reading_;
  std::optional<Meter> meter_;  // none until a song opens
  int64_t division_ = 0;
  std::vector<Problem> problems_;
  int selected_ = -1;
  bool stale_ = true;  // the window has not seen the last edit
};
