// Picture names in Shift-JIS whose second bytes look like ASCII: 0x5C, a backslash (表 ソ 十 能
// 予), and a-z (ヂ is 83 61, ア 83 41). Each stays one picture of its own, from the build
// to the player's picture source.

#include <gtest/gtest.h>

#include "checks/check.h"
#include "make/build_case.h"
#include "text/cp932.h"
#include "wrdplayer/png_folder_source.h"

namespace {

TEST(PictureNames, NamesWhoseSecondBytesLookLikeAsciiAreBuiltAndFound) {
  const std::vector<std::string> names = {"表", "ソ", "十", "能", "予", "ア", "ヂ"};
  build_test::BuildCase build;
  for (size_t i = 0; i < names.size(); ++i) {
    const int width = 8 + static_cast<int>(i);
    build.Picture(names[i] + ".bmp", width, 4);
    build.Add("m", 16 * static_cast<int32_t>(i + 1), Utf8ToCp932(names[i] + ".bmp"));
  }
  EXPECT_EQ(build.Make().ErrorLines, 0);
  EXPECT_EQ(build.Result().Pictures.size(), names.size());
  EXPECT_EQ(Check(build.Table(), build.Result().Pictures, std::nullopt), std::vector<Problem>{});
  PngFolderSource source(build.Folder().Path().string());
  for (size_t i = 0; i < names.size(); ++i) {
    const std::optional<IndexedPicture> picture = source.Load(0, Utf8ToCp932(names[i] + ".png"));
    ASSERT_TRUE(picture) << names[i];
    EXPECT_EQ(picture->width, 8 + static_cast<int>(i)) << names[i];
  }
}

}  // namespace
