#include "app/bmp_file_names.h"

#include <QDir>
#include <QFileInfo>

QStringList BmpFileNames(const QString& folder) {
  QStringList names;
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.fileName().startsWith(QLatin1Char('.'))) continue;
    if (!entry.fileName().endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) continue;
    names.append(entry.fileName());
  }
  return names;
}
