#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "preview/preview_rect.h"

class PaintBox;
class PictureCache;
class ShowModel;
class QPainter;
namespace Ui {
class TForm2;
}

// The preview window: the player's screen for the selected event at its real size of 640 x 480
// (the event built alone in memory and played: the picture centred on its colour 0 or tiled,
// the lyric lines in their colour), and the lyric rectangle in inverted pixels. A picture the
// build refuses is shown as refused, with the reason. A rectangle dragged with the mouse is
// reported through TextRectChosen. Closing the window only hides it.
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
  // shows no picture and keeps the tile flag. A file that cannot be read as a bitmap at all
  // leaves the window without a picture, with the tile flag as it was, and throws
  // std::runtime_error with a readable message. A bitmap the build refuses (not 256 colours)
  // is shown as refused.
  void SetPicture(const QString& path, bool tile);
  // Sets the committed and the working rectangle, in this order of corners (not reordered).
  void SetRect(int x1, int y1, int x2, int y2);
  // The event's lyrics (CP932, lines ended by CR LF), alignment (0 left, 1 right, other
  // values centre) and colour (0x00BBGGRR), drawn in the committed rectangle as the player
  // draws them: 8 pixels per byte, 16 pixels per line. Empty lyrics draw nothing.
  void SetLyrics(const std::string& cp932Lyrics, int align, uint32_t colour);

  // Reads pictures through `cache` from now on (shared with the show window).
  void SetPictureCache(std::shared_ptr<PictureCache> cache);

  PaintBox* PaintBox1() const { return paint_box_; }
  bool HasPicture() const { return !picture_.isEmpty(); }
  // Why the build refuses the picture; empty when it does not.
  const QString& Refusal() const { return refusal_; }
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
  // Composes the player's screen for the event into the back buffer and shows it.
  void RenderPicture();
  // Inverts the working rectangle on the screen image: drawing it twice erases it.
  void InvertWorkingRect();

  std::unique_ptr<Ui::TForm2> ui_;
  PaintBox* paint_box_ = nullptr;
  std::shared_ptr<PictureCache> cache_;
  std::unique_ptr<ShowModel> model_;
  QString picture_;  // the picture's path
  QString refusal_;
  bool tile_ = false;
  std::string lyrics_;
  int align_ = 0;
  uint32_t colour_ = 0;
  PreviewRect committed_;
  PreviewRect working_;
  bool dragging_ = false;
  QImage back_;
  QImage screen_;
  int picture_renders_ = 0;
};
