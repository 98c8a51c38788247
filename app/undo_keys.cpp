#include "app/undo_keys.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QWidget>

UndoKeys::Key UndoKeys::Classify(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Z) return Key::kUndo;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Y) return Key::kRedo;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && event.key() == Qt::Key_Z) {
    return Key::kRedo;
  }
  return Key::kNone;
}

namespace {

// An editable combo box keeps the focus and hands keys to its line edit itself.
QObject* TextOf(QObject* field) {
  if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit()) {
    return combo->lineEdit();
  }
  return field;
}

}  // namespace

bool UndoKeys::FieldCanDo(QObject* field, Key key) {
  field = TextOf(field);
  if (auto* edit = qobject_cast<QLineEdit*>(field)) {
    if (edit->isReadOnly()) return false;
    return key == Key::kUndo ? edit->isUndoAvailable() : edit->isRedoAvailable();
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
    if (memo->isReadOnly()) return false;
    const QTextDocument* document = memo->document();
    return key == Key::kUndo ? document->isUndoAvailable() : document->isRedoAvailable();
  }
  return false;
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
    return false;
  }
  const Key key = Classify(*static_cast<QKeyEvent*>(event));
  if (key == Key::kNone) return false;
  const bool field_first = FieldCanDo(watched, key);
  if (event->type() == QEvent::ShortcutOverride) {
    // Accepted: the key goes to the field. Ignored: the window's shortcut takes it.
    event->setAccepted(field_first);
    return true;
  }
  if (field_first) {
    watched = TextOf(watched);
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      key == Key::kUndo ? edit->undo() : edit->redo();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(watched)) {
      key == Key::kUndo ? memo->undo() : memo->redo();
    }
  }
  return true;
}

UndoActions CreateUndoActions(QWidget& window, QWidget& list,
                              std::initializer_list<QWidget*> fields) {
  UndoActions actions{new QAction(QStringLiteral("元に戻す"), &window),
                      new QAction(QStringLiteral("やり直し"), &window)};
  actions.undo->setObjectName(QStringLiteral("UndoAction"));
  actions.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  actions.redo->setObjectName(QStringLiteral("RedoAction"));
  actions.redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  for (QAction* action : {actions.undo, actions.redo}) {
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    window.addAction(action);
    list.addAction(action);
  }
  list.setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* keys = new UndoKeys(&window);
  for (QWidget* field : fields) {
    if (field != nullptr) field->installEventFilter(keys);
  }
  return actions;
}
