#pragma once

#include <QObject>
#include <initializer_list>

class QAction;
class QKeyEvent;
class QWidget;

// Installed on the main window's text fields: the field's own typing undo comes first. Ctrl+Z
// undoes in the field (Ctrl+Y and Ctrl+Shift+Z redo) while the field has something to undo (to
// redo); once it has not, the key is left to the window's undo and redo actions, which take
// back the document's steps.
class UndoKeys : public QObject {
  Q_OBJECT

 public:
  enum class Key { kNone, kUndo, kRedo };

  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override;

  static Key Classify(const QKeyEvent& event);
  // Whether the field (a QLineEdit or QPlainTextEdit) can undo (redo) its own typing.
  static bool FieldCanDo(QObject* field, Key key);
};

// The window-wide undo and redo actions (Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z), disabled until there
// is something to do, added to `window` and as the menu of `list`; `fields` get UndoKeys.
struct UndoActions {
  QAction* undo;
  QAction* redo;
};
UndoActions CreateUndoActions(QWidget& window, QWidget& list,
                              std::initializer_list<QWidget*> fields);
