#pragma once

#include <QString>
#include <memory>

#include "app/dialogs.h"

class QMessageBox;
class QWidget;

// The program's dialogs: Qt message boxes, file dialog and colour dialog, each over the
// active window.
class QtDialogs : public Dialogs {
 public:
  Answer AskYesNoCancel(const QString& text, const QString& caption) override;
  Answer AskYesNo(const QString& text, const QString& caption) override;
  void ShowError(const QString& message) override;
  void ShowNotice(const QString& text) override;
  QString OpenFileName(const QString& filter, const QString& folder) override;
  // Qt's colour dialog always shows its custom colours, as the full form of the system
  // dialog does.
  std::optional<QColor> ChooseColour(const QColor& initial) override;
};

// The boxes as QtDialogs shows them, built apart from showing them so that they can be
// examined. The caller owns the box.
std::unique_ptr<QMessageBox> MakeErrorBox(const QString& message, QWidget* parent = nullptr);
std::unique_ptr<QMessageBox> MakeNoticeBox(const QString& text, QWidget* parent = nullptr);
// Yes/No/Cancel (Escape answers Cancel) or, without `withCancel`, Yes/No (Escape answers
// No); no icon.
std::unique_ptr<QMessageBox> MakeQuestionBox(const QString& text, const QString& caption,
                                             bool withCancel, QWidget* parent = nullptr);
