// The checks, one table: each fires on a case made for it and stays silent on a near miss.

#include <gtest/gtest.h>

#include <functional>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "make/build_case.h"
#include "text/cp932.h"

// Readable problems in test failures (the text as UTF-8).
void PrintTo(const Problem& problem, std::ostream* out) {
  *out << "#" << problem.Event << " " << problem.Id << " "
       << (problem.Level == Problem::Severity::kError ? "error" : "warning") << ": "
       << problem.Text;
}

namespace {

using build_test::BuildCase;
namespace fs = std::filesystem;
// Builds the table with the mistake (`fires`) or almost the same table without it.
using Setup = std::function<void(BuildCase&, bool fires)>;

struct CheckCase {
  const char* id;
  Setup setup;
  int event;         // where it is reported
  std::string text;  // UTF-8; {dir} stands for the song's folder
  std::optional<int32_t> songLength = std::nullopt;
};

// One event with lyrics in a rectangle that holds them.
EventItem& Lyric(BuildCase& b, int32_t count, const std::string& lyrics, int x1, int x2) {
  EventItem& item = b.Add("m", count);
  item.Lyrics = lyrics;
  item.X1 = x1;
  item.Y1 = 100;
  item.X2 = x2;
  item.Y2 = 200;
  return item;
}

EventItem& Fading(BuildCase& b, int32_t count, const char* picture = "") {
  EventItem& item = b.Add("m", count, picture);
  item.Effect = 1;
  return item;
}

std::vector<CheckCase> Cases() {
  return {
      {"missing-picture",
       [](BuildCase& b, bool fires) {
         if (!fires) b.Picture("gone.bmp", 8, 8);
         b.Add("m", 0, "gone.bmp");
       },
       1, "画像ファイル {dir}/gone.bmp がありません"},
      {"not-256-colours",
       [](BuildCase& b, bool fires) {
         if (fires) {
           test_bmp::WriteFile(b.Folder().Path() / "deep.bmp", test_bmp::Bmp24(8, 8));
         } else {
           b.Picture("deep.bmp", 8, 8);
         }
         b.Add("m", 0);
         b.Add("m", 1, "deep.bmp");
       },
       2,
       "{dir}/deep.bmp は 24 ビットの画像です。Make で使えるのは 256 色 (8 ビット) の BMP "
       "だけです"},
      {"same-png-name",
       [](BuildCase& b, bool fires) {
         const char* other = fires ? "other/A.bmp" : "other/b.bmp";
         fs::create_directory(b.Folder().Path() / "other");
         b.Picture("a.bmp", 8, 8);
         b.Picture(other, 8, 8);
         b.Add("m", 0, "a.bmp");
         b.Add("m", 10, "a.bmp");
         b.Add("m", 20, other);
       },
       3,
       "{dir}/other/A.bmp の PNG 名 A.png は、イベント #1 の {dir}/a.bmp と同じです。"
       "プレイヤーはどちらにも先の画像を表示します"},
      {"text-off-screen",
       [](BuildCase& b, bool fires) {
         Lyric(b, 0, "ab\r\nabcd", fires ? 620 : 608, 700).Y1 = fires ? 464 : 448;
       },
       1, "歌詞の 2 行目が画面 (640 x 480) から右に 12 ドット、下に 16 ドットはみ出します"},
      {"text-outside-rect",
       [](BuildCase& b, bool fires) { Lyric(b, 0, "abcd", 100, 130 + !fires); }, 1,
       "歌詞の 1 行目が文字の枠 (100, 100)-(130, 200) から右に 1 ドットはみ出します"},
      {"no-text-rect", [](BuildCase& b, bool fires) { Lyric(b, 0, "a", 100, fires ? 100 : 108); },
       1,
       "歌詞がありますが、文字の枠 (100, 100)-(100, 200) が空です（X2 が X1 以下か、Y2 が Y1 "
       "以下）"},
      {"past-song-end", [](BuildCase& b, bool fires) { b.Add("m", 100 + fires); }, 1,
       "時間 101 は曲の終わり (100) より 1 後です", 100},
      {"fade-overlap",
       [](BuildCase& b, bool fires) {
         b.Picture("a.bmp", 8, 8);
         Fading(b, fires ? 120 : 128);
         Fading(b, 100, "a.bmp");
       },
       1,
       "フェードアウトが時間 104 に始まりますが、イベント #2 (時間 100) のフェードインが時間 112 "
       "まで続きます"},
      {"same-time",
       [](BuildCase& b, bool fires) {
         b.Add("m", 50);
         b.Add("m", 51 - fires);
       },
       1, "イベント #2 と同じ時間 50 です。表で後の #2 がこのイベントを隠します"},
      {"no-fade-out", [](BuildCase& b, bool fires) { Fading(b, 16 - fires); }, 1,
       "時間 15 は 16 より前なので、フェードアウトする時間がありません"},
      {"all-colours-used",
       [](BuildCase& b, bool fires) {
         // A 16 x 16 picture using every index; index i is blue i.
         test_bmp::WriteFile(b.Folder().Path() / "full.bmp",
                             test_bmp::Bmp8(
                                 16, 16, [](int x, int y) { return uint8_t(y * 16 + x); },
                                 [](int i) { return uint32_t(i); }));
         b.Add("m", 0, "full.bmp");
         // Red 1, blue 100: index 100 is nearest; without the red the palette has it.
         Lyric(b, 10, "x", 0, 100).Color = fires ? 0x00640001 : 0x00640000;
       },
       2,
       "{dir}/full.bmp は 256 色すべてを使っているため、歌詞の色 #010064 はパレット 100 番の近い色 "
       "#000064 になります"},
      {"picture-cropped",
       [](BuildCase& b, bool fires) {
         b.Picture("wide.bmp", fires ? 641 : 640, fires ? 10 : 480);
         b.Add("m", 0, "wide.bmp");
       },
       1, "{dir}/wide.bmp は 641 x 10 ドットで画面 (640 x 480) より大きいため、切れて表示されます"},
      {"no-picture-yet",
       [](BuildCase& b, bool fires) {
         if (!fires) {
           b.Picture("a.bmp", 8, 8);
           b.Add("m", 0, "a.bmp");
         }
         Lyric(b, fires ? 0 : 10, "x", 0, 100);
       },
       1, "画像がなく、これより前にも表示できる画像がないため、歌詞は黒い画面に表示されます"},
  };
}

// The problems of the case's check on its table, paths as the expectations write them.
std::vector<Problem> Found(const CheckCase& c, bool fires) {
  BuildCase build;
  c.setup(build, fires);
  const std::string dir = build.Folder().Path().string();
  std::vector<Problem> found;
  for (Problem problem : Check(build.Table(), c.songLength)) {
    if (problem.Id != c.id) continue;
    problem.Text = Cp932ToUtf8(problem.Text);
    for (size_t at = problem.Text.find(dir); at != std::string::npos; at = problem.Text.find(dir)) {
      problem.Text.replace(at, dir.size(), "{dir}");
    }
    found.push_back(problem);
  }
  return found;
}

TEST(CheckTest, EachCheckFiresOnItsCaseAndNotOnANearMiss) {
  for (const CheckCase& c : Cases()) {
    const bool error =
        std::string(c.id) == "missing-picture" || std::string(c.id) == "not-256-colours";
    const Problem expected{c.id, c.event,
                           error ? Problem::Severity::kError : Problem::Severity::kWarning, c.text};
    EXPECT_EQ(Found(c, true), std::vector<Problem>{expected}) << c.id;
    EXPECT_EQ(Found(c, false), std::vector<Problem>{}) << c.id;
  }
}

TEST(CheckTest, AnEmptyTableAndAnUnknownSongLengthFindNothing) {
  BuildCase build;
  EXPECT_TRUE(Check(build.Table(), std::nullopt).empty());
  build.Add("m", 1000000);
  EXPECT_TRUE(Check(build.Table(), std::nullopt).empty());
}

TEST(CheckTest, NextProblemGoesRoundTheEventsThatHaveOne) {
  auto at = [](int event) { return Problem{"same-time", event, Problem::Severity::kWarning, ""}; };
  const std::vector<Problem> problems = {at(3), at(3), at(7), at(0), at(50)};
  struct Step {
    int selected, direction, next;
  };
  for (const Step s : {Step{-1, 1, 2}, Step{2, 1, 6}, Step{6, 1, 2}, Step{4, 1, 6}, Step{2, -1, 6},
                       Step{6, -1, 2}, Step{-1, -1, 6}, Step{9, -1, 6}}) {
    EXPECT_EQ(NextProblemEvent(problems, s.selected, s.direction, 10), s.next)
        << s.selected << " " << s.direction;
  }
  EXPECT_EQ(NextProblemEvent({at(0)}, 0, 1, 10), -1);
}

}  // namespace
