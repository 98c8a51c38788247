#pragma once

#include <QFont>
#include <cstdint>
#include <vector>

#include "build/lyric_layout.h"

class QImage;
class QPainter;

// The player's screen, which the preview shows at its real size.
inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

// Draws the picture onto the screen area: tiled from the top-left corner, or once centred
// ((640 - w) / 2, (480 - h) / 2, truncating). Only what falls inside the area is drawn.
void DrawPreviewPicture(QPainter& painter, const QImage& picture, bool tile);

// Draws placed lyric lines in the colour 0x00BBGGRR, each character in its cells of 8
// pixels per byte and 16 pixels high, the way the player lays them out.
void DrawPreviewLyrics(QPainter& painter, const std::vector<LyricLine>& lines, uint32_t color);

// A 16-pixel Japanese font without smoothing, like the player's.
QFont PreviewLyricFont();
