#pragma once

#include <QString>
#include <string>

#include "text/cp932.h"

// The windows show Unicode; the document and the files hold CP932. These two are the only
// crossing points between them.
inline QString FromCp932(const std::string& cp932) {
  return QString::fromStdString(Cp932ToUtf8(cp932));
}

inline std::string ToCp932(const QString& text) { return Utf8ToCp932(text.toStdString()); }
