#include "lyrics/lyric_sheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "files/file_errors.h"
#include "lyrics/lyric_placement.h"
#include "lyrics/lyric_queue.h"
#include "make/lyric_layout.h"
#include "support/temp_folder.h"
#include "text/cp932.h"

namespace {

using Lines = std::vector<std::vector<std::string>>;  // UTF-8, per page

struct SheetCase {
  const char* name;
  std::string bytes;
  int lines_per_page;
  Lines pages;
  size_t replaced = 0;
};

std::vector<SheetCase> SheetCases() {
  return {
      {"blank lines part the pages, whatever the lines per page",
       "ほしが\nひかる\nよる\n\n\nそらが\r\nあかるく\r\n",
       2,
       {{"ほしが", "ひかる", "よる"}, {"そらが", "あかるく"}}},
      {"without blank lines, every N lines; CR alone ends a line too",
       "a\rb\rc\rd\re",
       2,
       {{"a", "b"}, {"c", "d"}, {"e"}}},
      {"Shift-JIS, with 表 and ソ; TAB a space, spaces at the ends dropped",
       Utf8ToCp932("  表\tソ  \n能\n"),
       3,
       {{"表 ソ", "能"}}},
      {"UTF-8 with a byte order mark; a character CP932 lacks becomes ?",
       "\xEF\xBB\xBF"
       "la\xF0\x9F\x8E\xB5"
       "la\n",
       2,
       {{"la?la"}},
       1},
      {"nothing but blank lines", "\n \n\t\n", 2, {}},
  };
}

class LyricSheetTest : public testing::TestWithParam<SheetCase> {};

TEST_P(LyricSheetTest, CutsTheSheetIntoPages) {
  const SheetCase& c = GetParam();
  size_t replaced = 0;
  Lines pages;
  for (const LyricPage& page : PagesFromSheet(c.bytes, c.lines_per_page, &replaced)) {
    EXPECT_EQ(page.tick, LyricPage::kUntimed);
    pages.emplace_back();
    for (const std::string& line : page.lines) pages.back().push_back(Cp932ToUtf8(line));
  }
  EXPECT_EQ(pages, c.pages);
  EXPECT_EQ(replaced, c.replaced);
}

INSTANTIATE_TEST_SUITE_P(Sheets, LyricSheetTest, testing::ValuesIn(SheetCases()),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(LyricSheet, ANamedPipeIsRefusedWithoutWaiting) {
  TempFolder folder;
  const std::string pipe = folder / "sheet.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  size_t replaced = 0;
  EXPECT_THROW(ReadLyricSheet(pipe, 2, &replaced), FileReadError);
}

TEST(LyricQueue, TapsTakePagesInOrderAndUndoGivesThemBack) {
  LyricQueue queue({{LyricPage::kUntimed, {Utf8ToCp932("ほし")}}, {LyricPage::kUntimed, {"b"}}});
  EXPECT_EQ(queue.StatusText(), "次: ほし (残り 2)");
  LyricPage first = queue.Take();
  EXPECT_EQ(queue.StatusText(), "次: b (残り 1)");
  queue.Return(std::move(first));
  EXPECT_EQ(queue.Remaining(), 2u);
  EXPECT_EQ(Cp932ToUtf8(queue.Take().lines[0]), "ほし");
  queue.Take();
  EXPECT_TRUE(queue.Empty());
  EXPECT_EQ(queue.StatusText(), "");
}

TEST(BreakLyricLine, CutsAtCharactersToWhatTheRectangleHolds) {
  std::string kanji;
  for (int k = 0; k < 41; ++k) kanji += "\x95\x5C";  // 表: its second byte is 0x5C
  EXPECT_EQ(BreakLyricLine(kanji, kAlignCentre, 0, 639),
            (std::vector<std::string>{kanji.substr(0, 80), kanji.substr(80)}));
  EXPECT_EQ(BreakLyricLine(std::string(80, 'a'), kAlignRight, 0, 639),
            (std::vector<std::string>{std::string(79, 'a'), "a"}));
  EXPECT_EQ(BreakLyricLine("abc", kAlignLeft, 0, 16), (std::vector<std::string>{"ab", "c"}));
  EXPECT_EQ(BreakLyricLine("abc", kAlignLeft, 0, 639), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(BreakLyricLine("ab cd ef", kAlignLeft, 0, 39),
            (std::vector<std::string>{"ab cd", "ef"}));
  EXPECT_EQ(BreakLyricLine("abcd ef gh", kAlignLeft, 0, 39),
            (std::vector<std::string>{"abcd", "ef gh"}));
  // Too narrow for a double-byte character: left whole, for the checks to report.
  EXPECT_EQ(BreakLyricLine("abc", kAlignLeft, 0, 8), (std::vector<std::string>{"abc"}));
}

TEST(PlaceLyricEvents, ReplacesAllFromATimeOrAdds) {
  auto table = std::make_unique<EventTable>();
  table->EventCount = 3;
  for (int i = 0; i < 3; ++i) table->events[i].Count = 10 * i;  // 0, 10, 20
  std::vector<EventItem> imported(3);
  for (int i = 0; i < 3; ++i) imported[i].Count = 5 + 10 * i;  // 5, 15, 25
  auto counts = [&](LyricPlacement placement) {
    size_t left_out = 99;
    std::vector<int32_t> got;
    for (const EventItem& e : PlaceLyricEvents(*table, imported, placement, 10, &left_out)) {
      got.push_back(e.Count);
    }
    EXPECT_EQ(left_out, 0u);
    return got;
  };
  EXPECT_EQ(counts(LyricPlacement::kReplaceAll), (std::vector<int32_t>{5, 15, 25}));
  EXPECT_EQ(counts(LyricPlacement::kReplaceFrom), (std::vector<int32_t>{0, 15, 25}));
  EXPECT_EQ(counts(LyricPlacement::kAdd), (std::vector<int32_t>{0, 10, 20, 5, 15, 25}));
  table->EventCount = EventTable::kCapacity - 1;
  size_t left_out = 0;
  EXPECT_EQ(PlaceLyricEvents(*table, imported, LyricPlacement::kAdd, 0, &left_out).size(),
            size_t{EventTable::kCapacity});
  EXPECT_EQ(left_out, 2u);
}

}  // namespace
