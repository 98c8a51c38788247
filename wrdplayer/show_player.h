#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "wrd/vnl_reader.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/memory_budget.h"
#include "wrdplayer/picture_source.h"
#include "wrdplayer/player_state.h"
#include "wrdplayer/screen.h"

// Plays a VNL file: the screen at any tick.
//
// Time: the records of the Data block run in file order. Every batch that ends with a Start
// record runs at tick 0; the records of the last batch run at their ticks. The screen at tick T
// is the state after every record at or before T (before tick 0: black). The definition block
// describes the file and changes nothing.
//
// Snapshots of the state are kept while records are run, spaced by the work between them, so
// that reaching any tick from any other (backwards too) replays only a little.
class ShowPlayer {
 public:
  struct Options {
    // The bytes pages and palettes may take together (see PlayerState).
    size_t memoryBudget = kPlayerMemoryBudget;
    // The GNU Unifont .hex file DrawText takes its glyphs from; read on the first DrawText.
    std::string fontPath = GlyphFont::kDefaultPath;
    // Whether to keep snapshots; a player asked for one screen only (vnl-render) reaches it
    // sooner without them.
    bool keepSnapshots = true;
  };

  // Reads the VNL bytes and runs the records of tick 0 (pictures are loaded then). Throws
  // VnlError (its message names the byte offset) when the bytes are malformed.
  ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures);
  ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures, Options options);
  // A player for new bytes that takes over what `previous` (with its options) has computed
  // where the two agree: its snapshots up to the first record that differs, so that after a
  // small edit only the records from there on are run again. `pictures` must give, for every
  // LoadPicture the two streams share, the picture `previous`'s source gave. The two share
  // their font: use them from one thread.
  ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures,
             const ShowPlayer& previous);
  ~ShowPlayer();

  // The screen after every record at or before `tick`; cheap from any other tick. The reference
  // stays valid until the next call.
  const Screen& ScreenAt(int64_t tick);
  // The tick of the last timed record (0 when there is none).
  int64_t LastTick() const;

 private:
  struct Snapshot {
    size_t position;  // timed records run
    PlayerState state;
  };

  ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures, Options options,
             const ShowPlayer* previous);
  void TakeOver(const ShowPlayer& previous);
  void RunTo(size_t position);
  void TakeSnapshot();
  void ThinSnapshots();
  size_t SnapshotBytes() const;

  std::unique_ptr<PictureSource> pictures_;
  Options options_;
  std::shared_ptr<GlyphFont> font_;
  std::vector<uint8_t> vnl_;
  std::vector<VnlRecordView> records_;      // the whole file, as read
  std::span<const VnlRecordView> untimed_;  // the batches of the Data block run at tick 0
  std::span<const VnlRecordView> timed_;    // the last batch, without its end record
  std::vector<size_t> overwrittenAt_;       // see FindOverwrittenDrawing
  std::vector<Snapshot> snapshots_;
  PlayerState current_;
  size_t position_ = 0;  // timed records run into current_
  size_t costSinceSnapshot_ = 0;
  size_t snapshotSpacing_;
  size_t copiedAtCheck_ = 0;  // current_.CopiedBytes() when the snapshots' memory was checked
  Screen screen_;
  int64_t screenPosition_ = -2;  // the position screen_ shows; -1: before tick 0
};
