#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wrd/wrd_types.h"
#include "wrdplayer/player_state.h"

class GlyphFont;

// The drawing commands on pages. Every written pixel d becomes (d & ~mask) | (value & mask);
// whatever falls outside the page is cut off. Each returns the number of pixels it visited, the
// cost the player weighs its snapshots by.

// Fills the inclusive rectangle `rect`, clipped to the page, with `colour`.
size_t FillRect(Page& page, uint8_t mask, WrdRect rect, uint8_t colour);

// Copies the inclusive rectangle `rect` of `source`, clipped to `source`, to `target` with its
// top-left at `point` moved by what the clipping cut off the top and the left, clipped to
// `target`. The whole source is read before anything is written (source and target may be the
// same page). `skipZero` (mode 1) leaves the target pixel alone where the source pixel is 0.
size_t MovePixels(const Page& source, Page& target, uint8_t mask, bool skipZero, WrdRect rect,
                  WrdPoint point);

// Draws the CP932 `text` with its first character's top-left at `point`: each character
// starts 8 pixels per byte after the previous one and each set bit of its glyph writes `colour`.
size_t DrawText(Page& page, GlyphFont& font, uint8_t mask, uint8_t colour, WrdPoint point,
                std::string_view text);
