#include "storyboard/storyboard_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "showmodel/storyboard_model.h"
#include "widgets/cp932_text.h"

namespace {

const QColor kGround(40, 40, 40);
const QColor kCaption(230, 230, 230);
const QColor kFrame(80, 160, 255);
const QColor kError(220, 40, 40);
const QColor kWarning(240, 200, 40);

}  // namespace

StoryboardView::StoryboardView(StoryboardModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kGround);
  setPalette(colours);
  setMinimumWidth(WidthFor(1));
}

int StoryboardView::WidthFor(int columns) {
  return kMargin + columns * (ScreenTile::kWidth + kMargin);
}

int StoryboardView::CellHeight() const {
  // The tile, then two lines: the time and the mark.
  return ScreenTile::kHeight + 2 + 2 * fontMetrics().height();
}

int StoryboardView::ColumnsFor(int width) const {
  return std::max(1, (width - kMargin) / (ScreenTile::kWidth + kMargin));
}

int StoryboardView::Columns() const { return ColumnsFor(width()); }

int StoryboardView::heightForWidth(int width) const {
  const int columns = ColumnsFor(width);
  const int rows = (model_.Count() + columns - 1) / columns;
  return kMargin + rows * (CellHeight() + kMargin);
}

QSize StoryboardView::sizeHint() const { return {WidthFor(4), heightForWidth(WidthFor(4))}; }

QRect StoryboardView::TileRect(int index) const {
  const int columns = Columns();
  return {kMargin + index % columns * (ScreenTile::kWidth + kMargin),
          kMargin + index / columns * (CellHeight() + kMargin), ScreenTile::kWidth,
          ScreenTile::kHeight};
}

int StoryboardView::IndexAt(const QPoint& point) const {
  const int columns = Columns();
  const int column = (point.x() - kMargin) / (ScreenTile::kWidth + kMargin);
  const int row = (point.y() - kMargin) / (CellHeight() + kMargin);
  if (point.x() < kMargin || point.y() < kMargin || column >= columns) return -1;
  const int index = row * columns + column;
  if (index >= model_.Count()) return -1;
  // The whole cell counts (the tile and its captions), not the gaps between cells.
  const QRect tile = TileRect(index);
  const QRect cell(tile.topLeft(), QSize(tile.width(), CellHeight()));
  return cell.contains(point) ? index : -1;
}

void StoryboardView::ModelChanged() {
  images_.resize(size_t(model_.Count()));
  madeFrom_.resize(size_t(model_.Count()));
  setMinimumHeight(heightForWidth(width()));
  updateGeometry();
  update();
}

void StoryboardView::SetSelected(int event) {
  if (event == selected_) return;
  selected_ = event;
  update();
}

const QImage& StoryboardView::ImageAt(int index) {
  std::shared_ptr<const ScreenTile> tile = model_.Tile(index);
  QImage& image = images_[size_t(index)];
  if (madeFrom_[size_t(index)] != tile) {
    image = QImage(tile->rgb.data(), ScreenTile::kWidth, ScreenTile::kHeight,
                   ScreenTile::kWidth * 3, QImage::Format_RGB888)
                .copy();
    madeFrom_[size_t(index)] = std::move(tile);
  }
  return image;
}

void StoryboardView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  const int lineHeight = fontMetrics().height();
  for (int i = 0; i < model_.Count(); ++i) {
    const QRect tile = TileRect(i);
    const QRect cell(tile.topLeft() - QPoint(3, 3), QSize(tile.width() + 6, CellHeight() + 6));
    if (!cell.intersects(exposed)) continue;
    const StoryboardModel::Entry& entry = model_.At(i);
    painter.drawImage(tile.topLeft(), ImageAt(i));
    if (entry.corner != StoryboardModel::Corner::kNone) {
      const QColor colour = entry.corner == StoryboardModel::Corner::kError ? kError : kWarning;
      const QPoint corner = tile.topRight() + QPoint(1, 0);
      const QPoint triangle[] = {corner, corner - QPoint(kCornerSize, 0),
                                 corner + QPoint(0, kCornerSize)};
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawPolygon(triangle, 3);
    }
    if (entry.event == selected_) {
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(kFrame, 3));
      painter.drawRect(tile.adjusted(-2, -2, 1, 1));
    }
    painter.setPen(kCaption);
    const QRect line(tile.left(), tile.bottom() + 3, tile.width(), lineHeight);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(entry.time));
    const QString mark =
        fontMetrics().elidedText(FromCp932(entry.mark), Qt::ElideRight, tile.width());
    painter.drawText(line.translated(0, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, mark);
  }
}

void StoryboardView::mousePressEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0) return QWidget::mousePressEvent(event);
  SetSelected(model_.At(index).event);
  emit EventClicked(model_.At(index).event);
}

void StoryboardView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0) {
    return QWidget::mouseDoubleClickEvent(event);
  }
  SetSelected(model_.At(index).event);
  emit EventDoubleClicked(model_.At(index).event);
}

void StoryboardView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  setMinimumHeight(heightForWidth(width()));
}
