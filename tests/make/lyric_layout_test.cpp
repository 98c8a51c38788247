// The lyric layout the build and the windows share.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "make/lyric_layout.h"

namespace {

struct SplitCase {
  std::string lyrics;
  std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << testing::PrintToString(c.lyrics); }

class SplitLyricLinesTest : public testing::TestWithParam<SplitCase> {};

}  // namespace

TEST_P(SplitLyricLinesTest, SplitsAsTheBuildDoes) {
  EXPECT_EQ(SplitLyricLines(GetParam().lyrics), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitLyricLinesTest,
                         testing::Values(SplitCase{"", {}}, SplitCase{"abc", {"abc"}},
                                         SplitCase{"abc\r\n", {"abc"}},
                                         SplitCase{"abc\r\n\r\ndef", {"abc", "", "def"}},
                                         SplitCase{"a\rb\nc", {"a", "b", "c"}},
                                         SplitCase{"a\n\rb", {"a", "", "b"}},
                                         SplitCase{"\r\n", {""}}, SplitCase{"a\r\n\r\n", {"a", ""}},
                                         SplitCase{"a\r\r\nb", {"a", "", "b"}}));

TEST(LayOutLyricsTest, AlignmentRulesWithEightPixelsPerByte) {
  EXPECT_EQ(LayOutLyrics("abc", 0, 0, 5, 100).front().x, 0);
  EXPECT_EQ(LayOutLyrics("abc", 1, 0, 5, 100).front().x, 76);
  EXPECT_EQ(LayOutLyrics("abc", 2, 0, 5, 100).front().x, 38);
  EXPECT_EQ(LayOutLyrics("abc", -1, 0, 5, 100).front().x, 38);
  EXPECT_EQ(LayOutLyrics("abc", 7, 10, 5, 100).front().x, 43);
  // (11 - 24) / 2 truncates toward zero.
  EXPECT_EQ(LayOutLyrics("abc", 2, 0, 5, 11).front().x, -6);
  // A double-byte character counts two bytes.
  EXPECT_EQ(LayOutLyrics("\x82\xa0", 1, 0, 5, 100).front().x, 84);
}

TEST(LayOutLyricsTest, EmptyLinesTakeTheirPlaceButDrawNothing) {
  const std::vector<LyricLine> lines = LayOutLyrics("abc\r\n\r\ndef\r\n", 0, 100, 400, 540);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "abc");
  EXPECT_EQ(lines[0].y, 400);
  EXPECT_EQ(lines[1].text, "def");
  EXPECT_EQ(lines[1].y, 432);
  EXPECT_TRUE(LayOutLyrics("", 0, 0, 0, 0).empty());
}

TEST(SplitCp932CharactersTest, LeadBytesTakeTheirTrailByte) {
  EXPECT_EQ(SplitCp932Characters("a\x82\xa0\xb1z\xe0\x40"),
            (std::vector<std::string>{"a", "\x82\xa0", "\xb1", "z", "\xe0\x40"}));
  EXPECT_EQ(SplitCp932Characters("a\x82"), (std::vector<std::string>{"a", "\x82"}));
}

TEST(LayOutLyricsTest, CoordinatesWrapAtThirtyTwoBits) {
  EXPECT_EQ(LayOutLyrics("a", 1, 2147483647, 0, -2147483647 - 1).front().x, 2147483640);
  EXPECT_EQ(LayOutLyrics("a\r\nb", 0, 0, 2147483647, 0).back().y, -2147483633);
}
