#pragma once

#include "document/event_table.h"

class QListWidget;

// The main window's event list: one line per live event, "%08d %s" of its time and its whole
// mark, and the highlight on the selected event.
class EventListView {
 public:
  explicit EventListView(QListWidget& list) : list_(list) {}

  // Rebuilds the lines, keeping the top line and the highlighted line by position.
  void Refresh(const EventTable& table);
  // Puts the highlight on `row` (when there is such a line) without it counting as a click.
  void Highlight(int row);
  // The list is being changed by the two above, not by the user.
  bool Refreshing() const { return refreshing_; }

 private:
  QListWidget& list_;
  bool refreshing_ = false;
};
