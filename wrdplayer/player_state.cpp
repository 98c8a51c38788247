#include "wrdplayer/player_state.h"

#include <algorithm>
#include <cstring>

namespace {

const Palette kBlack{};

size_t PageBytes(const Page& page) { return size_t(page.width) * size_t(page.height); }

}  // namespace

bool PlayerState::Reserve(size_t bytes) {
  if (bytes > budget_ - used_) return false;
  used_ += bytes;
  return true;
}

void PlayerState::AllocatePage(int id, int width, int height) { SetPage(id, width, height, {}); }

void PlayerState::Release(int id) {
  auto it = pages_.find(id);
  if (it != pages_.end()) used_ -= PageBytes(*it->second.page);
}

void PlayerState::SetPage(int id, int width, int height, std::vector<uint8_t> pixels) {
  Release(id);
  auto page = std::make_shared<Page>();
  const size_t bytes = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
  if (Reserve(bytes)) {
    page->width = width;
    page->height = height;
    if (pixels.size() == bytes) {
      page->pixels = std::move(pixels);
    } else {
      page->pixels.assign(bytes, 0);
    }
  }
  pages_[id] = {std::move(page), false};
}

void PlayerState::SharePage(int id, std::shared_ptr<const Page> page) {
  Release(id);
  if (!Reserve(PageBytes(*page))) {
    pages_[id] = {std::make_shared<Page>(), false};
    return;
  }
  pages_[id] = {std::move(page), true};
}

const Page* PlayerState::FindPage(int id) const {
  auto it = pages_.find(id);
  return it == pages_.end() ? nullptr : it->second.page.get();
}

Page* PlayerState::MutablePage(int id, size_t& cost) {
  auto it = pages_.find(id);
  if (it == pages_.end()) return nullptr;
  PageSlot& slot = it->second;
  if (slot.borrowed || slot.page.use_count() > 1) {
    slot.page = std::make_shared<Page>(*slot.page);
    slot.borrowed = false;
    cost += slot.page->pixels.size();
    copied_ += slot.page->pixels.size();
  }
  // A page that is not borrowed was made by make_shared<Page> above or in SetPage.
  return const_cast<Page*>(slot.page.get());
}

void PlayerState::AllocatePalette(int id, const Palette& entries) {
  auto it = palettes_.find(id);
  if (it != palettes_.end() && it->second) used_ -= kPaletteBytes;
  palettes_[id] = Reserve(kPaletteBytes) ? std::make_shared<Palette>(entries) : nullptr;
}

const Palette* PlayerState::FindPalette(int id) const {
  auto it = palettes_.find(id);
  if (it == palettes_.end()) return nullptr;
  return it->second ? it->second.get() : &kBlack;
}

Palette* PlayerState::MutablePalette(int id) {
  auto it = palettes_.find(id);
  if (it == palettes_.end()) return nullptr;
  if (!it->second) {
    // A refused palette gets its memory when it is first written, if the budget allows it now.
    if (!Reserve(kPaletteBytes)) return nullptr;
    it->second = std::make_shared<Palette>();
  } else if (it->second.use_count() > 1) {
    it->second = std::make_shared<Palette>(*it->second);
    copied_ += kPaletteBytes;
  }
  return it->second.get();
}

void PlayerState::DisplayPage(int id, int x, int y) {
  displaying_ = true;
  displayedPage_ = id;
  displayX_ = x;
  displayY_ = y;
}

void PlayerState::Compose(Screen& screen) const {
  screen.palette = screenPalette_;
  std::fill(screen.indices.begin(), screen.indices.end(), uint8_t{0});
  screen.shown = {};
  const Page* page = displaying_ ? FindPage(displayedPage_) : nullptr;
  if (page == nullptr) return;
  // Screen pixel (sx, sy) shows page pixel (sx + x, sy + y).
  const int x1 = std::max(0, -displayX_);
  const int y1 = std::max(0, -displayY_);
  const int x2 = std::min(Screen::kWidth, page->width - displayX_);
  const int y2 = std::min(Screen::kHeight, page->height - displayY_);
  if (x1 >= x2 || y1 >= y2) return;
  screen.shown = {x1, y1, x2 - x1, y2 - y1};
  for (int sy = y1; sy < y2; ++sy) {
    const uint8_t* from =
        page->pixels.data() + size_t(sy + displayY_) * size_t(page->width) + (x1 + displayX_);
    std::memcpy(screen.indices.data() + size_t(sy) * Screen::kWidth + x1, from, size_t(x2 - x1));
  }
}

size_t PlayerState::CountNewBytes(std::unordered_set<const void*>& seen) const {
  size_t bytes = 0;
  for (const auto& [id, slot] : pages_) {
    if (seen.insert(slot.page.get()).second) bytes += slot.page->pixels.size();
  }
  for (const auto& [id, palette] : palettes_) {
    if (palette && seen.insert(palette.get()).second) bytes += kPaletteBytes;
  }
  return bytes;
}
