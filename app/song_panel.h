#pragma once

#include <cstdint>

namespace Ui {
class TForm1;
}
class SongTransport;

// The main window's song controls following the transport: the play button's caption, the
// position counter and the position bar, whose drag holds the shown position still.
class SongPanel {
 public:
  SongPanel(Ui::TForm1& ui, SongTransport& transport) : ui_(ui), transport_(transport) {}

  // A new song of `length` sixteenths: the two time bars reach to its end.
  void SetLength(int32_t length);
  // Plays or stops; the caption names the next action. True when it plays now.
  bool PlayOrStop();
  // The 300 ms poll: the caption of a song that ended by itself, the counter and the bar
  // (not while the bar is dragged).
  void Poll();
  // The counter shows `position` with its bar and beat.
  void ShowCounter(int32_t position);
  // The number the counter begins with.
  int32_t CounterNumber() const;
  // The song goes to `position`; the counter and the bar follow.
  void SeekTo(int32_t position);
  // A scroll code of the position bar: a drag holds the display; the end of a scroll seeks
  // (when `song_open`). True when it sought.
  bool PositionScrolled(int code, bool song_open);
  bool Dragging() const { return dragging_; }
  // The position the show follows: the bar's while it is dragged, else the song's.
  int32_t ShownPosition() const;

 private:
  Ui::TForm1& ui_;
  SongTransport& transport_;
  bool dragging_ = false;
};
