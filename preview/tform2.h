#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "preview/preview_rect.h"

class PaintBox;
class QPainter;
namespace Ui {
class TForm2;
}

// The preview window: the selected event's picture at the screen's real size of 640 x 480,
// centred or tiled as the build places it, its lyric lines as the player draws them, and
// the lyric rectangle in inverted pixels. A rectangle dragged with the mouse is reported
// through TextRectChosen. Closing the window only hides it.
//
// The picture and the lyrics are composed once into a back buffer; the screen image is that
// buffer with the working rectangle inverted, so that moving the rectangle costs two
// inversions and never draws the picture again.
class TForm2 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  // Shows the BMP file at `path` (a UTF-8 file-system path), tiled or centred; an empty path
  // shows no picture and keeps the tile flag. A file that cannot be read as a bitmap (or is
  // too large to hold) leaves the window without a picture, with the tile flag as it was,
  // and throws std::runtime_error with a readable message.
  void SetPicture(const QString& path, bool tile);
  // Sets the committed and the working rectangle, in this order of corners (not reordered).
  void SetRect(int x1, int y1, int x2, int y2);
  // The event's lyrics (CP932, lines ended by CR LF), alignment (0 left, 1 right, other
  // values centre) and colour (0x00BBGGRR), drawn in the committed rectangle as the player
  // draws them: 8 pixels per byte, 16 pixels per line. Empty lyrics draw nothing.
  void SetLyrics(const std::string& cp932Lyrics, int align, uint32_t color);

  PaintBox* PaintBox1() const { return paint_box_; }
  bool HasPicture() const { return !picture_.isNull(); }
  bool Tile() const { return tile_; }
  bool Dragging() const { return dragging_; }
  PreviewRect CommittedRect() const { return committed_; }
  PreviewRect WorkingRect() const { return working_; }
  // What the window shows: the picture, the lyrics and the inverted rectangle.
  const QImage& ScreenImage() const { return screen_; }
  // How often the picture has been drawn into the back buffer (for tests of the drag).
  int PictureRenderCount() const { return picture_renders_; }

 signals:
  // A drag has ended with this rectangle, its corners ordered (x1 <= x2, y1 <= y2).
  void TextRectChosen(int x1, int y1, int x2, int y2);

 public slots:
  void FormCreate();
  void PaintBox1Paint(QPainter& painter, const QRect& area);
  void PaintBox1MouseDown(Qt::MouseButton button, int x, int y);
  void PaintBox1MouseMove(int x, int y);
  void PaintBox1MouseUp(Qt::MouseButton button, int x, int y);

 private:
  // Composes the picture and the lyrics into the back buffer and shows it.
  void RenderPicture();
  // Inverts the working rectangle on the screen image: drawing it twice erases it.
  void InvertWorkingRect();

  std::unique_ptr<Ui::TForm2> ui_;
  PaintBox* paint_box_ = nullptr;
  QImage picture_;
  bool tile_ = false;
  std::string lyrics_;
  int align_ = 0;
  uint32_t color_ = 0;
  PreviewRect committed_;
  PreviewRect working_;
  bool dragging_ = false;
  QImage back_;
  QImage screen_;
  int picture_renders_ = 0;
};
