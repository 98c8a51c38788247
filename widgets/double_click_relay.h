#pragma once

#include <QObject>

class QWidget;

// Reports every double click on a widget, whatever the widget does with it. An item view's own
// double-click signal is lost when its items are rebuilt by the first click, as the event
// list's are.
class DoubleClickRelay : public QObject {
  Q_OBJECT

 public:
  // Watches `widget` (for an item view: its viewport) and lives as long as it.
  explicit DoubleClickRelay(QWidget* widget);

 signals:
  void DoubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
