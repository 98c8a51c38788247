#include "app/event_list_view.h"

#include <QListWidget>
#include <QScrollBar>
#include <cstdio>

#include "widgets/cp932_text.h"

namespace {

constexpr int kListItemHeight = 12;

}  // namespace

void EventListView::Refresh(const EventTable& table) {
  const int top = list_.verticalScrollBar()->value();
  const int selected = list_.currentRow();
  refreshing_ = true;
  list_.clear();
  for (int i = 0; i < table.EventCount; ++i) {
    const EventItem& item = table.events[i];
    char time[16];
    std::snprintf(time, sizeof time, "%08d ", item.Count);
    // The whole mark, however long: the line is not cut at a fixed buffer size.
    auto* line = new QListWidgetItem(FromCp932(time + item.Mark), &list_);
    line->setSizeHint(
        QSize(list_.fontMetrics().horizontalAdvance(line->text()) + 4, kListItemHeight));
  }
  list_.doItemsLayout();  // the scroll range follows the new lines at once
  // The highlight first: setting it scrolls the list, and the top line is then put back.
  if (list_.currentRow() != selected && selected < list_.count()) list_.setCurrentRow(selected);
  if (list_.verticalScrollBar()->value() != top) list_.verticalScrollBar()->setValue(top);
  refreshing_ = false;
}

void EventListView::Highlight(int row) {
  if (row < 0 || row >= list_.count() || list_.currentRow() == row) return;
  refreshing_ = true;
  list_.setCurrentRow(row);
  refreshing_ = false;
}
