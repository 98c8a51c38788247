#include "wrdplayer/command_runner.h"

#include <algorithm>
#include <map>
#include <string>

#include "wrd/opcodes.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/page_drawing.h"
#include "wrdplayer/picture_source.h"

// The opcodes the player gives a meaning to; any other record does nothing.
using namespace wrd_opcode;

namespace {

constexpr size_t kRecordCost = 64;

// Reads the fields of a checked payload in order.
class Fields {
 public:
  explicit Fields(std::span<const uint8_t> payload) : payload_(payload) {}
  uint8_t U8() { return payload_[at_++]; }
  int Id() {
    const int low = U8();
    return int16_t(uint16_t(low | U8() << 8));
  }
  int U16() {
    const int low = U8();
    return low | U8() << 8;
  }
  WrdPoint Point() {
    const int16_t x = int16_t(Id());
    return {x, int16_t(Id())};
  }
  WrdRect Rect() {
    const WrdPoint a = Point();
    const WrdPoint b = Point();
    return {a.x, a.y, b.x, b.y};
  }
  void Skip(size_t n) { at_ += n; }
  size_t Left() const { return payload_.size() - at_; }
  std::string Text() {
    std::string text(payload_.begin() + std::ptrdiff_t(at_), payload_.end());
    at_ = payload_.size();
    return text;
  }

 private:
  std::span<const uint8_t> payload_;
  size_t at_ = 0;
};

void LoadPicture(PlayerState& state, int page, int palette, const std::string& name,
                 PictureSource& pictures) {
  std::shared_ptr<const IndexedPicture> picture = pictures.LoadShared(page, name);
  const bool usable = picture && picture->width > 0 && picture->height > 0 &&
                      picture->pixels.size() == size_t(picture->width) * size_t(picture->height);
  if (!usable) {
    state.SetPage(page, 0, 0, {});
    state.AllocatePalette(palette);
    return;
  }
  const Palette entries = picture->palette;
  state.SharePage(page, std::move(picture));
  state.AllocatePalette(palette, entries);
}

void BlendPalette(PlayerState& state, Fields& in) {
  const int first = in.Id();
  const int second = in.Id();
  const int target = in.Id();
  in.Skip(6);  // six bytes without a meaning for this player
  const int firstWeight = in.U8();
  const int secondWeight = in.U8();
  const Palette* a = state.FindPalette(first);
  const Palette* b = state.FindPalette(second);
  if (a == nullptr || b == nullptr || !state.HasPalette(target)) return;
  // Channel by channel over the 768 bytes, in a loop the compiler can vectorise.
  static_assert(sizeof(Palette) == 768);
  const auto* x = reinterpret_cast<const uint8_t*>(a->data());
  const auto* y = reinterpret_cast<const uint8_t*>(b->data());
  Palette blend;
  auto* out = reinterpret_cast<uint8_t*>(blend.data());
  const uint32_t wa = uint32_t(firstWeight), wb = uint32_t(secondWeight);
  for (size_t i = 0; i < sizeof(Palette); ++i) {
    out[i] = uint8_t(std::min<uint32_t>(255, (x[i] * wa + y[i] * wb) / 100));
  }
  if (Palette* destination = state.MutablePalette(target)) *destination = blend;
}

}  // namespace

void CheckRecord(const VnlRecordView& record) {
  const size_t n = record.payload.size();
  bool fits = true;
  switch (record.opcode) {
    case kAllocatePalette:
      fits = n % 2 == 0;
      break;
    case kAllocatePage:
      fits = n % 7 == 0;
      break;
    case kLoadPicture:
      fits = n >= 4;
      break;
    case kChangePalette:
      fits = n == 2;
      break;
    case kDisplayPage:
      fits = n == 6;
      break;
    case kSetPalette:
      fits = n >= 2 && (n - 2) % 4 == 0;
      break;
    case kBlendPalette:
      fits = n == 14;
      break;
    case kCopyPalette:
      fits = n == 4;
      break;
    case kDrawText:
      fits = n >= 10;
      break;
    case kFillRect:
      fits = n == 12;
      break;
    case kMove:
      fits = n == 18;
      break;
    default:
      break;
  }
  if (!fits) {
    throw VnlError(record.offset, "opcode " + std::to_string(record.opcode) +
                                      " with a payload of " + std::to_string(n) + " bytes");
  }
}

size_t RunRecord(const VnlRecordView& record, PlayerState& state, GlyphFont& font,
                 PictureSource& pictures) {
  Fields in(record.payload);
  size_t cost = kRecordCost;
  switch (record.opcode) {
    case kAllocatePalette:
      while (in.Left() > 0) state.AllocatePalette(in.Id());
      return cost + PlayerState::kPaletteBytes;
    case kAllocatePage:
      while (in.Left() > 0) {
        const int id = in.Id();
        const int width = in.U16();
        const int height = in.U16();
        in.Skip(1);  // the kind byte has no meaning for this player
        state.AllocatePage(id, width, height);
        cost += size_t(width) * size_t(height);
      }
      return cost;
    case kLoadPicture: {
      const int page = in.Id();
      const int palette = in.Id();
      LoadPicture(state, page, palette, in.Text(), pictures);
      const Page* loaded = state.FindPage(page);
      return cost + (loaded ? loaded->pixels.size() : 0);
    }
    case kChangePalette:
      if (const Palette* palette = state.FindPalette(in.Id())) state.ScreenPalette() = *palette;
      return cost;
    case kDisplayPage: {
      const int page = in.Id();
      const WrdPoint at = in.Point();
      if (state.FindPage(page) != nullptr) state.DisplayPage(page, at.x, at.y);
      return cost;
    }
    case kSetPalette:
      if (Palette* palette = state.MutablePalette(in.Id())) {
        while (in.Left() > 0) {
          const uint8_t index = in.U8();
          const uint8_t r = in.U8();
          const uint8_t g = in.U8();
          (*palette)[index] = {r, g, in.U8()};
        }
      }
      return cost + record.payload.size();
    case kBlendPalette:
      BlendPalette(state, in);
      return cost + PlayerState::kPaletteBytes;
    case kCopyPalette: {
      const int source = in.Id();
      const int target = in.Id();
      const Palette* from = state.FindPalette(source);
      if (from == nullptr || !state.HasPalette(target)) return cost;
      const Palette copy = *from;
      if (Palette* to = state.MutablePalette(target)) *to = copy;
      return cost + PlayerState::kPaletteBytes;
    }
    case kDrawText: {
      const int page = in.Id();
      const uint8_t mask = in.U8();
      in.Skip(1);
      const uint8_t colour = in.U8();
      in.Skip(1);
      const WrdPoint at = in.Point();
      const std::string text = in.Text();
      if (Page* target = state.MutablePage(page, cost)) {
        cost += DrawText(*target, font, mask, colour, at, text);
      }
      return cost;
    }
    case kFillRect: {
      const int page = in.Id();
      const uint8_t mask = in.U8();
      const WrdRect rect = in.Rect();
      const uint8_t colour = in.U8();
      if (Page* target = state.MutablePage(page, cost)) {
        cost += FillRect(*target, mask, rect, colour) / 8;
      }
      return cost;
    }
    case kMove: {
      const int source = in.Id();
      const int target = in.Id();
      const uint8_t mask = in.U8();
      const bool skipZero = in.U8() == 1;
      const WrdRect rect = in.Rect();
      const WrdPoint at = in.Point();
      if (state.FindPage(source) == nullptr) return cost;
      Page* to = state.MutablePage(target, cost);
      // Copying the target may have left the source shared or separate: look it up again.
      const Page* from = to == nullptr ? nullptr : state.FindPage(source);
      if (from != nullptr) cost += MovePixels(*from, *to, mask, skipZero, rect, at) / 4;
      return cost;
    }
    default:
      return cost;
  }
}

std::vector<size_t> FindOverwrittenDrawing(std::span<const VnlRecordView> timed,
                                           const PlayerState& initial) {
  std::vector<size_t> overwritten(timed.size(), kNotOverwritten);
  for (const VnlRecordView& record : timed) {
    if (record.opcode == kAllocatePage || record.opcode == kLoadPicture) return overwritten;
  }
  // Backwards: per page, the next record that fills it all with no read of it in between.
  std::map<int, size_t> nextFill;
  auto next = [&](int page) {
    auto it = nextFill.find(page);
    return it == nextFill.end() ? kNotOverwritten : it->second;
  };
  for (size_t i = timed.size(); i-- > 0;) {
    Fields in(timed[i].payload);
    switch (timed[i].opcode) {
      case kFillRect: {
        const int page = in.Id();
        const uint8_t mask = in.U8();
        const WrdRect rect = in.Rect();
        overwritten[i] = next(page);
        const Page* target = initial.FindPage(page);
        if (mask == 0xFF && target != nullptr && rect.x1 <= 0 && rect.y1 <= 0 &&
            rect.x2 >= target->width - 1 && rect.y2 >= target->height - 1) {
          nextFill[page] = i;
        }
        break;
      }
      case kDrawText:
        overwritten[i] = next(in.Id());
        break;
      case kMove: {
        const int source = in.Id();
        overwritten[i] = next(in.Id());
        nextFill.erase(source);  // earlier drawing on the source is read here
        break;
      }
      default:
        break;
    }
  }
  return overwritten;
}
