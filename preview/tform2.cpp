#include "preview/tform2.h"

#include <QPainter>
#include <QPalette>
#include <utility>

#include "preview/invert_rect.h"
#include "build/lyric_layout.h"
#include "preview/paint_box.h"
#include "preview/picture_loader.h"
#include "preview/preview_scene.h"
#include "ui_tform2.h"

TForm2::TForm2(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TForm2>()) {
  ui_->setupUi(this);
  paint_box_ = ui_->PaintBox1;
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // Only the main window's closing ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  connect(paint_box_, &PaintBox::Paint, this, &TForm2::PaintBox1Paint);
  connect(paint_box_, &PaintBox::MouseDown, this, &TForm2::PaintBox1MouseDown);
  connect(paint_box_, &PaintBox::MouseMove, this, &TForm2::PaintBox1MouseMove);
  connect(paint_box_, &PaintBox::MouseUp, this, &TForm2::PaintBox1MouseUp);
  FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(12);
  setFont(font);
  setFixedSize(kScreenWidth, kScreenHeight);
  paint_box_->setGeometry(0, 0, kScreenWidth, kScreenHeight);
  move(350, 324);
  dragging_ = false;
  back_ = QImage(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  RenderPicture();
}

void TForm2::SetPicture(const QString& path, bool tile) {
  picture_ = QImage();
  if (!path.isEmpty()) {
    try {
      picture_ = LoadPreviewPicture(path);
    } catch (...) {
      // The window shows no picture before the error box tells why.
      RenderPicture();
      paint_box_->repaint();
      throw;
    }
    tile_ = tile;
  }
  RenderPicture();
  paint_box_->repaint();
}

void TForm2::SetRect(int x1, int y1, int x2, int y2) {
  const PreviewRect before = committed_;
  InvertWorkingRect();
  committed_ = {x1, y1, x2, y2};
  working_ = committed_;
  // The lyrics stand in the rectangle: when they move, the back buffer is composed again.
  const bool lyricsMove =
      !lyrics_.empty() && (before.x1 != x1 || before.y1 != y1 || before.x2 != x2);
  if (lyricsMove) {
    RenderPicture();
  } else {
    InvertWorkingRect();
  }
}

void TForm2::SetLyrics(const std::string& cp932Lyrics, int align, uint32_t color) {
  if (cp932Lyrics == lyrics_ && align == align_ && color == color_) {
    return;
  }
  lyrics_ = cp932Lyrics;
  align_ = align;
  color_ = color;
  RenderPicture();
}

void TForm2::PaintBox1Paint(QPainter& painter, const QRect& area) {
  painter.fillRect(area, palette().color(QPalette::Window));
  const QRect shown = area.intersected(screen_.rect());
  painter.drawImage(shown.topLeft(), screen_, shown);
}

void TForm2::PaintBox1MouseDown(Qt::MouseButton /*button*/, int x, int y) {
  // Qt keeps sending the pointer's movement and the release to the box while a button is
  // held, also outside the window; a second button during the drag changes nothing.
  if (dragging_) {
    return;
  }
  dragging_ = true;
  InvertWorkingRect();
  working_ = {x, y, x, y};
  InvertWorkingRect();
}

void TForm2::PaintBox1MouseMove(int x, int y) {
  if (!dragging_) {
    return;
  }
  InvertWorkingRect();
  working_.x2 = x;
  working_.y2 = y;
  InvertWorkingRect();
}

void TForm2::PaintBox1MouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
  // The rectangle is where the last movement left it; the release point is not used.
  if (!dragging_) {
    return;
  }
  dragging_ = false;
  InvertWorkingRect();
  if (working_.x1 == working_.x2 && working_.y1 == working_.y2) {
    working_ = committed_;
    InvertWorkingRect();
    return;
  }
  PreviewRect chosen = working_;
  if (chosen.x1 > chosen.x2) {
    std::swap(chosen.x1, chosen.x2);
  }
  if (chosen.y1 > chosen.y2) {
    std::swap(chosen.y1, chosen.y2);
  }
  working_ = chosen;
  InvertWorkingRect();
  SetRect(chosen.x1, chosen.y1, chosen.x2, chosen.y2);
  emit TextRectChosen(chosen.x1, chosen.y1, chosen.x2, chosen.y2);
}

void TForm2::RenderPicture() {
  ++picture_renders_;
  back_.fill(palette().color(QPalette::Window));
  {
    QPainter painter(&back_);
    DrawPreviewPicture(painter, picture_, tile_);
    if (!lyrics_.empty()) {
      DrawPreviewLyrics(painter,
                        LayOutLyrics(lyrics_, align_, committed_.x1, committed_.y1, committed_.x2),
                        color_);
    }
  }
  screen_ = back_.copy();
  InvertRect(screen_, working_);
  paint_box_->update();
}

void TForm2::InvertWorkingRect() {
  const QRect changed = InvertRect(screen_, working_);
  if (!changed.isEmpty()) {
    paint_box_->update(changed);
  }
}
