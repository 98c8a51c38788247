#pragma once

#include <QString>

class QPainter;
class QRect;

// Writes why the build refuses the picture over the foot of `screen`, white on dark red, so
// that the picture behind it still shows.
void DrawRefusalBanner(QPainter& painter, const QRect& screen, const QString& refusal);
