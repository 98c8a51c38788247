#include "tools/vnl-render/render_arguments.h"

#include <limits>
#include <optional>
#include <string_view>

#include "document/song_argument.h"

namespace {

std::string Check(const RenderArguments& a, bool haveTick) {
  if (a.vnl.empty())
    return "VNLファイル (SONG.vnl、または SONG.mid か SONG.vwm) を指定してください";
  if (haveTick && a.sheet) return "--tick と --sheet は一緒に使えません";
  if (!haveTick && !a.sheet) return "--tick T か --sheet のどちらかを指定してください";
  if (a.output.empty()) return "書き出すPNGファイルを -o OUT.png で指定してください";
  return {};
}

}  // namespace

RenderArguments ParseRenderArguments(int argc, const char* const* argv) {
  RenderArguments a;
  bool haveTick = false, haveColumns = false;
  auto fail = [&a](std::string error) {
    if (a.error.empty()) a.error = std::move(error);
  };
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool takesValue = argument == "--tick" || argument == "-o" || argument == "--columns";
    if (takesValue && i + 1 >= argc) {
      const char* wanted = argument == "-o"       ? "書き出すPNGファイル"
                           : argument == "--tick" ? "ティック(整数)"
                                                  : "1から64の整数";
      fail(argument + " の後に値がありません (" + wanted + "を指定してください)");
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      a.help = true;
    } else if (argument == "--sheet") {
      a.sheet = true;
    } else if (argument == "-o") {
      const std::string value = argv[++i];
      if (!a.output.empty()) fail("-o は一つだけ指定してください: \"" + value + "\"");
      if (value.empty()) fail("-o のファイル名が空です");
      a.output = value;
    } else if (argument == "--tick") {
      const std::string value = argv[++i];
      const std::optional<int64_t> tick = NumberArgument(value, std::numeric_limits<int64_t>::min(),
                                                         std::numeric_limits<int64_t>::max());
      if (!tick) fail("--tick の値が正しくありません: \"" + value + "\" (整数を指定してください)");
      if (haveTick) fail("--tick は一つだけ指定してください");
      a.tick = tick.value_or(0);
      haveTick = true;
    } else if (argument == "--columns") {
      const std::string value = argv[++i];
      const std::optional<int64_t> columns = NumberArgument(value, 1, kMaxSheetColumns);
      if (!columns) {
        fail("--columns の値が正しくありません: \"" + value + "\" (1から" +
             std::to_string(kMaxSheetColumns) + "の整数を指定してください)");
      }
      if (haveColumns) fail("--columns は一つだけ指定してください");
      a.columns = int(columns.value_or(4));
      haveColumns = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      fail("不明なオプションです: \"" + argument +
           "\" (使えるのは --tick、--sheet、--columns、-o、--help、--version)");
    } else if (argument.empty()) {
      fail("空のファイル名があります");
    } else if (!a.vnl.empty()) {
      fail("VNLファイルは一つだけ指定してください: \"" + argument + "\"");
    } else {
      a.vnl = BesideSong(argument, "vnl");
    }
  }
  if (a.help) return a;
  if (haveColumns && !a.sheet) fail("--columns は --sheet と一緒に使ってください");
  fail(Check(a, haveTick));
  return a;
}
