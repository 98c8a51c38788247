// Fuzzes the player: any input must either play or fail with a VnlError, never crash, hang or
// grow without bound. Every LoadPicture gets a small picture, so drawing from pages is reached.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "wrdplayer/show_player.h"

namespace {

class SmallPictures : public PictureSource {
 public:
  std::optional<IndexedPicture> Load(int page, const std::string& name) override {
    if (name.empty()) return std::nullopt;
    IndexedPicture picture;
    picture.width = 1 + (page & 63);
    picture.height = 1 + name.size() % 50;
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = uint8_t(i * 7);
    picture.palette[1] = Rgb{1, 2, 3};
    return picture;
  }
};

bool Same(const Screen& a, const Screen& b) {
  return a.indices == b.indices && a.palette == b.palette && a.shown == b.shown;
}

// A player made from `previous` for an edited stream must show what a new player shows.
void CheckUpdate(std::vector<uint8_t> edited, const ShowPlayer& previous,
                 const ShowPlayer::Options& options) {
  edited[edited.size() / 2] ^= 0x01;
  try {
    ShowPlayer updated(edited, std::make_unique<SmallPictures>(), previous);
    ShowPlayer fresh(edited, std::make_unique<SmallPictures>(), options);
    const int64_t last = fresh.LastTick();
    for (int64_t tick : {last / 2, last, int64_t{0}}) {
      if (!Same(updated.ScreenAt(tick), fresh.ScreenAt(tick))) __builtin_trap();
    }
  } catch (const VnlError&) {
    // The edit made the stream malformed.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ShowPlayer::Options options;
  options.memoryBudget = size_t{8} << 20;  // keeps each run small
  try {
    ShowPlayer player(std::vector<uint8_t>(data, data + size), std::make_unique<SmallPictures>(),
                      options);
    const int64_t last = player.LastTick();
    // Forwards, backwards and to the middle, as a user seeks.
    for (int64_t tick : {last, int64_t{0}, last / 2, int64_t{-1}, last + 1}) player.ScreenAt(tick);
    std::vector<uint8_t> rgb(size_t{Screen::kWidth} * Screen::kHeight * 3);
    player.ScreenAt(last).ToRgb(rgb.data());
    CheckUpdate(std::vector<uint8_t>(data, data + size), player, options);
  } catch (const VnlError&) {
    // Malformed input is expected.
  }
  return 0;
}
