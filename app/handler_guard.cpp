#include "app/handler_guard.h"

#include <cstdio>

#include "app/dialogs.h"

QString ErrorMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("不明なエラー");  // the program speaks Japanese throughout
  }
}

void RunHandler(Dialogs& dialogs, const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (...) {
    const QString message = ErrorMessage(std::current_exception());
    try {
      dialogs.ShowError(message);
    } catch (...) {
      // The box itself failed: standard error is all that is left.
      std::fprintf(stderr, "Varnel WRD Maker: %s.\n", message.toUtf8().constData());
    }
  }
}
