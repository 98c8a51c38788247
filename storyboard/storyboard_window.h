#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "checks/problem.h"
#include "document/event_table.h"
#include "make/picture_cache.h"
#include "song/meter.h"

class QScrollArea;
class QTimer;
class StoryboardModel;
class StoryboardView;

// "ストーリーボード": every event's settled screen as a tile, in time order, following the
// document as it is edited. A click selects the event, a double click asks for the show at
// that moment; the context menu writes the contact sheet of the document. It holds no rule:
// the tiles come from the storyboard model, the sheet from the core.
class StoryboardWindow : public QWidget {
  Q_OBJECT

 public:
  // `cache`: the pictures the show window builds from, shared.
  explicit StoryboardWindow(std::shared_ptr<PictureCache> cache, QWidget* parent = nullptr);
  ~StoryboardWindow() override;

  // The document as it stands, saved or not; cheap when it builds as the last one did.
  void SetDocument(const EventTable& table);
  // The song's bars and beats, for the times under the tiles.
  void SetSong(const Meter& meter, int64_t division);
  // What the checks found in the document, for the corners.
  void SetProblems(const std::vector<Problem>& problems);
  // Frames the event's tile (table order, from 0; -1: none) and scrolls it into view.
  void SelectEvent(int event);

  // Writes the contact sheet of the document (every tile, its tick under it, `columns` to a
  // row) to `path` (UTF-8), atomically. Throws VwrdError (or std::runtime_error) on failure.
  void WriteSheet(const std::string& path, int columns = 4);
  // How the context menu asks for the sheet's file; empty: cancelled. A file dialog unless set.
  void SetSheetPathChooser(std::function<QString()> chooser);
  // The context menu's command: asks for a file and writes the sheet; a failure is reported
  // through Failed.
  void WriteSheetAsked();

  StoryboardModel& Model() { return *model_; }
  StoryboardView& View() { return *view_; }

 signals:
  // The user chose an event (table order, from 0) by a click.
  void EventSelected(int event);
  // The user asked to see the show at the event's moment (a double click).
  void ShowRequested(int event);
  // Writing the sheet failed: the message for the error box.
  void Failed(const QString& message);

 private:
  void ShowContextMenu(const QPoint& at);
  // Computes a few of the tiles not in view while the program is idle, so that scrolling
  // finds them ready.
  void FillSome();

  std::unique_ptr<StoryboardModel> model_;
  StoryboardView* view_;
  QScrollArea* scroll_;
  QTimer* filling_;
  int fillFrom_ = 0;  // where FillSome goes on
  std::function<QString()> chooser_;
};
