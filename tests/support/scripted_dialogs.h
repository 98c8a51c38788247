#pragma once

#include <QColor>
#include <QString>
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/dialogs.h"

// Dialogs answered by the test: each kind of question takes its answers from a queue that the
// test fills beforehand, and every box shown is recorded. A question without a queued answer
// fails loudly, so that an unexpected box cannot pass unnoticed.
class ScriptedDialogs : public Dialogs {
 public:
  struct Box {
    QString kind;  // "YesNoCancel", "YesNo", "Error", "Notice", "OpenFile", "Color"
    QString text;  // the message, or the filter of a file dialog
    QString caption;
  };

  std::deque<Answer> answers;
  std::deque<QString> file_names;             // empty string: the dialog is cancelled
  std::deque<std::optional<QColor>> colours;  // nothing: the dialog is cancelled
  std::vector<Box> shown;
  std::optional<QColor> last_initial_colour;

  Answer AskYesNoCancel(const QString& text, const QString& caption) override {
    shown.push_back({"YesNoCancel", text, caption});
    return Next(answers, "an answer to a Yes/No/Cancel box");
  }
  Answer AskYesNo(const QString& text, const QString& caption) override {
    shown.push_back({"YesNo", text, caption});
    return Next(answers, "an answer to a Yes/No box");
  }
  void ShowError(const QString& message) override { shown.push_back({"Error", message, {}}); }
  void ShowNotice(const QString& text) override { shown.push_back({"Notice", text, {}}); }
  QString OpenFileName(const QString& filter, const QString& folder) override {
    shown.push_back({"OpenFile", filter, folder});
    return Next(file_names, "a file name");
  }
  std::optional<QColor> ChooseColour(const QColor& initial) override {
    shown.push_back({"Color", {}, {}});
    last_initial_colour = initial;
    return Next(colours, "a colour");
  }

  // The boxes of one kind, in the order shown.
  std::vector<Box> Shown(const QString& kind) const {
    std::vector<Box> boxes;
    for (const Box& box : shown) {
      if (box.kind == kind) boxes.push_back(box);
    }
    return boxes;
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, const char* what) {
    if (queue.empty()) throw std::logic_error(std::string("the test queued no ") + what);
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};
