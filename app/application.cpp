#include "app/application.h"

#include <cstdio>
#include <exception>

#include "app/dialogs.h"
#include "app/handler_guard.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The name only: a display name would be appended to every window's caption on X11
  // ("プレビュー — Varnel WRD Maker"). The error boxes set their caption themselves.
  setApplicationName("Varnel WRD Maker");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  // The windows' handlers catch their own errors (RunHandler); this is the last net for an
  // event handler that throws.
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportError(ErrorMessage(std::current_exception()));
  }
  return false;
}

void Application::ReportError(const QString& message) {
  if (dialogs_ != nullptr) {
    dialogs_->ShowError(message);
  } else {
    std::fprintf(stderr, "Varnel WRD Maker: %s.\n", message.toUtf8().constData());
  }
}
