#include "preview/tform2.h"

#include <QPainter>
#include <QPalette>
#include <stdexcept>
#include <utility>

#include "make/picture_cache.h"
#include "preview/invert_rect.h"
#include "preview/paint_box.h"
#include "showmodel/show_model.h"
#include "text/cp932.h"
#include "ui_tform2.h"
#include "widgets/refusal_banner.h"

namespace {

constexpr int kScreenWidth = Screen::kWidth;
constexpr int kScreenHeight = Screen::kHeight;

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TForm2>()),
      cache_(std::make_shared<PictureCache>()),
      model_(std::make_unique<ShowModel>(cache_)) {
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
  RenderPicture();
}

void TForm2::SetPictureCache(std::shared_ptr<PictureCache> cache) {
  cache_ = std::move(cache);
  model_ = std::make_unique<ShowModel>(cache_);
  RenderPicture();
}

void TForm2::SetPicture(const QString& path, bool tile) {
  picture_.clear();
  if (!path.isEmpty()) {
    const auto decoded = cache_->Get(Utf8ToCp932(path.toStdString()));
    if (decoded->BitCount == 0) {
      // The window shows no picture before the error box tells why.
      RenderPicture();
      paint_box_->repaint();
      throw std::runtime_error(QStringLiteral("画像を読み込めません: %1 (%2)")
                                   .arg(path, QString::fromStdString(decoded->Reason))
                                   .toStdString());
    }
    picture_ = path;
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

void TForm2::SetLyrics(const std::string& cp932Lyrics, int align, uint32_t colour) {
  if (cp932Lyrics == lyrics_ && align == align_ && colour == colour_) {
    return;
  }
  lyrics_ = cp932Lyrics;
  align_ = align;
  colour_ = colour;
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
  // The event alone, at tick 0 and without its effect: its finished screen.
  auto table = std::make_unique<EventTable>();
  EventItem& item = table->events[0];
  table->EventCount = 1;
  item.Picture = Utf8ToCp932(picture_.toStdString());
  item.Naraberu = tile_ ? 1 : 0;
  item.Lyrics = lyrics_;
  item.Align = align_;
  item.Color = colour_;
  item.X1 = committed_.x1;
  item.Y1 = committed_.y1;
  item.X2 = committed_.x2;
  item.Y2 = committed_.y2;
  model_->Update(*table);
  QImage rgb(kScreenWidth, kScreenHeight, QImage::Format_RGB888);
  model_->ScreenAt(0).ToRgb(rgb.bits());
  back_ = rgb.convertToFormat(QImage::Format_RGB32);
  refusal_ = QString::fromStdString(model_->RefusalAt(0));
  if (!refusal_.isEmpty()) {
    QPainter painter(&back_);
    DrawRefusalBanner(painter, back_.rect(), refusal_);
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
