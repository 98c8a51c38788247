#pragma once

#include <QApplication>

class Dialogs;

// The application object. An exception that escapes any handler ends here and is shown in
// the error box; the program carries on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  // The dialogs the error box goes through; until set, errors go to standard error.
  void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows an error message the way a failed handler's is shown.
  void ReportError(const QString& message);

 private:
  Dialogs* dialogs_ = nullptr;
};
