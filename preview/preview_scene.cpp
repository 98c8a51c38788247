#include "preview/preview_scene.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>

#include "app/cp932_text.h"

void DrawPreviewPicture(QPainter& painter, const QImage& picture, bool tile) {
  const int w = picture.width();
  const int h = picture.height();
  if (w < 1 || h < 1) {
    return;
  }
  if (tile) {
    // A texture brush repeats the picture from the origin and paints only the area itself,
    // so even a one-pixel picture costs no more than the area.
    QBrush brush(picture);
    painter.setBrushOrigin(0, 0);
    painter.fillRect(QRect(0, 0, kScreenWidth, kScreenHeight), brush);
  } else {
    painter.drawImage(QPoint((kScreenWidth - w) / 2, (kScreenHeight - h) / 2), picture);
  }
}

void DrawPreviewLyrics(QPainter& painter, const std::vector<LyricLine>& lines, uint32_t color) {
  painter.setFont(PreviewLyricFont());
  painter.setPen(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  for (const LyricLine& line : lines) {
    int x = line.x;
    for (const std::string& character : SplitCp932Characters(line.text)) {
      const int width = 8 * static_cast<int>(character.size());
      painter.drawText(QRect(x, line.y, width, 16),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, FromCp932(character));
      x += width;
    }
  }
}

QFont PreviewLyricFont() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                    QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic")});
  font.setPixelSize(16);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}
