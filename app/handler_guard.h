#pragma once

#include <QString>
#include <exception>
#include <functional>

class Dialogs;

// The message of an exception for the error box ("不明なエラー" for one that is no
// std::exception).
QString ErrorMessage(const std::exception_ptr& error);

// Runs one handler. An exception it throws ends here instead of in Qt's signal machinery (which
// cannot carry one) and its message goes to the error box; the program carries on with whatever
// state the handler had reached.
void RunHandler(Dialogs& dialogs, const std::function<void()>& handler) noexcept;
