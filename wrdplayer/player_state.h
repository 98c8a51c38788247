#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>

#include "wrdplayer/page.h"
#include "wrdplayer/screen.h"

// Everything the commands change: the pages, the palettes, the screen's palette and which page
// the screen shows. Copying a state is cheap: pages and palettes are shared between copies and
// copied only when one copy changes them, so snapshots cost what changed since the last one.
//
// The memory budget bounds the bytes of pages (one per pixel) and palettes (768 each). A page
// or palette that would exceed it is refused: the page is kept as 0 x 0, the palette as all
// black, and neither takes memory.
class PlayerState {
 public:
  static constexpr size_t kPaletteBytes = sizeof(Palette);

  explicit PlayerState(size_t memoryBudget) : budget_(memoryBudget) {}

  // Makes page `id` width x height, every pixel 0 (0 x 0 when refused). Replaces an old page.
  void AllocatePage(int id, int width, int height);
  // Makes page `id` hold `pixels` (refused: 0 x 0).
  void SetPage(int id, int width, int height, std::vector<uint8_t> pixels);
  // Makes page `id` show `page` without copying it (refused: 0 x 0); the page is copied when it
  // is first drawn on.
  void SharePage(int id, std::shared_ptr<const Page> page);
  // nullptr when the page does not exist.
  const Page* FindPage(int id) const;
  // The page to draw on, copied first when a snapshot shares it or it is borrowed (SharePage);
  // nullptr when it does not exist. Adds the bytes copied to `cost`.
  Page* MutablePage(int id, size_t& cost);

  // Makes palette `id` all black (refused: kept black, without memory). Replaces an old one.
  void AllocatePalette(int id, const Palette& entries = Palette{});
  bool HasPalette(int id) const { return palettes_.count(id) != 0; }
  // nullptr when the palette does not exist.
  const Palette* FindPalette(int id) const;
  // The palette to change; nullptr when it does not exist or was refused and still cannot get
  // memory.
  Palette* MutablePalette(int id);

  Palette& ScreenPalette() { return screenPalette_; }
  void DisplayPage(int id, int x, int y);

  // Writes the screen as it shows now into `screen`.
  void Compose(Screen& screen) const;

  // Bytes copied so far because a page or palette shared with another state was changed.
  size_t CopiedBytes() const { return copied_; }
  // Adds the bytes of the pages and palettes not yet in `seen` (shared ones count once).
  size_t CountNewBytes(std::unordered_set<const void*>& seen) const;

 private:
  struct PageSlot {
    // Made by this state (or a copy of it) unless borrowed; written only when held by one state.
    std::shared_ptr<const Page> page;
    bool borrowed = false;  // someone else's page (a picture): never written
  };

  bool Reserve(size_t bytes);
  void Release(int id);

  size_t budget_;
  size_t used_ = 0;
  size_t copied_ = 0;
  std::map<int, PageSlot> pages_;
  std::map<int, std::shared_ptr<Palette>> palettes_;  // nullptr: black, refused
  Palette screenPalette_{};
  bool displaying_ = false;
  int displayedPage_ = 0;
  int displayX_ = 0;
  int displayY_ = 0;
};
