#pragma once

#include <QStringList>

// The names of a folder's BMP files, as the picture box lists them: regular files ending in
// ".bmp" in any letter case, hidden files left out, in name order.
QStringList BmpFileNames(const QString& folder);
