#include "widgets/refusal_banner.h"

#include <QPainter>
#include <QRect>

void DrawRefusalBanner(QPainter& painter, const QRect& screen, const QString& refusal) {
  if (refusal.isEmpty()) return;
  const QRect box(screen.left(), screen.bottom() + 1 - 48, screen.width(), 48);
  painter.fillRect(box, QColor(128, 0, 0));
  painter.setPen(Qt::white);
  painter.drawText(box.adjusted(6, 2, -6, -2), Qt::AlignVCenter | Qt::TextWordWrap, refusal);
}
