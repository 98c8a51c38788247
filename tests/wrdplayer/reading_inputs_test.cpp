// The player's readers facing what is no picture or font file: each is refused (no picture, no
// glyph) at once, none waits on a named pipe or reads a device without end.

#include <gtest/gtest.h>

#include "picture/png_reader.h"
#include "tests/support/non_regular_inputs.h"
#include "tests/support/temp_folder.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/png_folder_source.h"

namespace {

TEST(ReadingInputs, PicturesAndFontsThatAreNoRegularFileAreRefused) {
  TempFolder folder("vwrd-player-inputs");
  for (const auto& input : test_support::MakeNonRegularInputs(folder.Path(), ".png")) {
    SCOPED_TRACE(input.name);
    EXPECT_FALSE(ReadPalettePngFile(folder.File(input.name)));
    EXPECT_FALSE(PngFolderSource(folder.Path().string()).Load(0, input.name));
    GlyphFont font(folder.File(input.name));
    EXPECT_EQ(font.Find("A"), nullptr);
  }
}

}  // namespace
