// Pictures that cannot be opened: the checks say why, on one whole problem line, and never wait
// on a named pipe or read a device without end.

#include <gtest/gtest.h>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "make/build_case.h"
#include "tests/support/non_regular_inputs.h"
#include "text/cp932.h"

namespace {

TEST(PictureInputs, APictureThatCannotBeOpenedIsSaidWhyOnOneWholeLine) {
  build_test::BuildCase build;
  std::vector<std::string> expected;
  const auto line = [&](const std::string& name, const std::string& why) {
    expected.push_back("#" + std::to_string(expected.size() + 1) + " エラー: 画像ファイル {dir}/" +
                       name + why + " [missing-picture]");
  };
  for (const auto& input : test_support::MakeNonRegularInputs(build.Folder().Path(), ".bmp")) {
    build.Add("m", 16 * static_cast<int32_t>(expected.size() + 1), input.name);
    line(input.name, input.kind.empty()
                         ? " がありません"
                         : " を開けません: 通常のファイルではありません (" + input.kind + ")");
  }
  // A NUL in a name would end the line that shows it.
  build.Picture("night.bmp", 8, 8);
  build.Add("m", 16 * 7, std::string("night.bmp\0x.bmp", 15));
  line("night.bmp<00>x.bmp", " を開けません: 名前にNULバイトが含まれています");

  const std::string dir = build.Folder().Path().string();
  std::vector<std::string> found;
  for (const Problem& problem : Check(build.Table(), std::nullopt)) {
    if (problem.Id != "missing-picture") continue;
    std::string text = Cp932ToUtf8(ProblemLine(problem));
    for (size_t at = text.find(dir); at != std::string::npos; at = text.find(dir)) {
      text.replace(at, dir.size(), "{dir}");
    }
    found.push_back(text);
  }
  EXPECT_EQ(found, expected);
}

}  // namespace
