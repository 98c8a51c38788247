#pragma once

#include "tools/make-demo/bmp_writer.h"

// The demo's pictures. Each leaves palette indices 240 to 255 unused, so that the build finds a
// free index for the lyric colour.
IndexedImage SunrisePicture();  // 640 x 480: sun over the sea
IndexedImage NightPicture();    // 320 x 240: moon and stars over hills
IndexedImage TilePicture();     // 80 x 60: a pattern that joins up when tiled
IndexedImage FieldPicture();    // 640 x 480: green hills and clouds
