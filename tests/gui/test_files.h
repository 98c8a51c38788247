#pragma once

#include <QString>
#include <cstdint>

// A 256-colour BMP of `width` x `height` pixels, every pixel `index`, palette entry i the grey
// i. Written bottom-up with rows padded to four bytes.
void WriteBmp8(const QString& path, int width, int height, uint8_t index);
