#include "app/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kTitle = QStringLiteral("Varnel WRD Maker");

// The box belongs over the window the user works in; without one it stands alone.
QWidget* DialogParent() { return QApplication::activeWindow(); }

Dialogs::Answer ToAnswer(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return Dialogs::Answer::Yes;
    case QMessageBox::No:
      return Dialogs::Answer::No;
    default:
      return Dialogs::Answer::Cancel;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> MakeErrorBox(const QString& message, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, kTitle, message + ".",
                                           QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

std::unique_ptr<QMessageBox> MakeNoticeBox(const QString& text, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Information, kTitle, text, QMessageBox::Ok,
                                           parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

std::unique_ptr<QMessageBox> MakeQuestionBox(const QString& text, const QString& caption,
                                             bool withCancel, QWidget* parent) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) {
    buttons |= QMessageBox::Cancel;
  }
  auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, buttons, parent);
  box->setTextFormat(Qt::PlainText);
  box->setDefaultButton(QMessageBox::Yes);
  box->setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  return box;
}

Dialogs::Answer QtDialogs::AskYesNoCancel(const QString& text, const QString& caption) {
  return ToAnswer(MakeQuestionBox(text, caption, true, DialogParent())->exec());
}

Dialogs::Answer QtDialogs::AskYesNo(const QString& text, const QString& caption) {
  const Answer answer = ToAnswer(MakeQuestionBox(text, caption, false, DialogParent())->exec());
  return answer == Answer::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::ShowError(const QString& message) { MakeErrorBox(message, DialogParent())->exec(); }

void QtDialogs::ShowNotice(const QString& text) { MakeNoticeBox(text, DialogParent())->exec(); }

QString QtDialogs::OpenFileName(const QString& filter, const QString& folder) {
  return QFileDialog::getOpenFileName(DialogParent(), QStringLiteral("開く"), folder, filter);
}

std::optional<QColor> QtDialogs::ChooseColour(const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, DialogParent(), QStringLiteral("色の設定"));
  if (!chosen.isValid()) {
    return std::nullopt;
  }
  return chosen;
}
