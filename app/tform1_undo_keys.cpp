#include "app/tform1_undo_keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

UndoKeys::Key UndoKeys::Classify(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Z) return Key::kUndo;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Y) return Key::kRedo;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && event.key() == Qt::Key_Z) {
    return Key::kRedo;
  }
  return Key::kNone;
}

bool UndoKeys::FieldCanDo(QObject* field, Key key) {
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
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      key == Key::kUndo ? edit->undo() : edit->redo();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(watched)) {
      key == Key::kUndo ? memo->undo() : memo->redo();
    }
  }
  return true;
}
