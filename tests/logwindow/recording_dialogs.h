#pragma once

#include <QStringList>

#include "app/dialogs.h"

// Dialogs that show nothing: they record the errors and notices and answer as told.
class RecordingDialogs : public Dialogs {
 public:
  Answer AskYesNoCancel(const QString&, const QString&) override { return Answer::Cancel; }
  Answer AskYesNo(const QString&, const QString&) override { return Answer::No; }
  void ShowError(const QString& message) override { errors.append(message); }
  void ShowNotice(const QString& text) override { notices.append(text); }
  QString OpenFileName(const QString&, const QString&) override { return QString(); }
  std::optional<QColor> ChooseColour(const QColor&) override { return std::nullopt; }

  QStringList errors;
  QStringList notices;
};
