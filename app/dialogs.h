#pragma once

#include <QColor>
#include <QString>
#include <optional>

// Every modal box and dialog the windows show goes through this interface, so that tests
// can answer them. The program uses QtDialogs.
class Dialogs {
 public:
  enum class Answer { Yes, No, Cancel };

  virtual ~Dialogs() = default;

  // Yes/No/Cancel box without icon; closing it any other way answers Cancel.
  virtual Answer AskYesNoCancel(const QString& text, const QString& caption) = 0;
  // Yes/No box without icon; closing it any other way answers No.
  virtual Answer AskYesNo(const QString& text, const QString& caption) = 0;
  // The error box: critical icon, caption "Varnel WRD Maker", the message followed by ".".
  virtual void ShowError(const QString& message) = 0;
  // A plain notice (caption "Varnel WRD Maker"), for messages that are not errors.
  virtual void ShowNotice(const QString& text) = 0;
  // A file-open dialog; filter in Qt's form ("MIDIファイル (*.mid *.MID)"). Empty: cancelled.
  virtual QString OpenFileName(const QString& filter, const QString& folder) = 0;
  // The colour dialog with custom colours shown; nothing when cancelled.
  virtual std::optional<QColor> ChooseColour(const QColor& initial) = 0;
};
