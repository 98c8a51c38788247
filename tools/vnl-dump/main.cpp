// vnl-dump SONG.vnl: prints a VNL file's header and one line per record (block, absolute tick,
// opcode, decoded fields). Texts in the file are CP932; they are printed as UTF-8.
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "document/song_argument.h"
#include "text/cp932.h"
#include "vwrd_version.h"
#include "wrd/vnl_reader.h"

namespace {

constexpr char kUsage[] =
    "使い方: vnl-dump SONG.vnl\n"
    "\n"
    "Varnel WRD ファイル (VNL) のヘッダと、レコードを一行ずつ書きます: ブロック (def: 定義\n"
    "ブロック、data: データブロック)、絶対ティック、16進のオペコード、レコードの内容。\n"
    "SONG.vnl の代わりに曲 (SONG.mid) かプロジェクト (SONG.vwm) を指定すると、その横の\n"
    "SONG.vnl を読みます。ファイルの中の文字 (CP932) は UTF-8 で書きます。\n"
    "\n"
    "  --help     この説明を表示して終了\n"
    "  --version  版を表示して終了\n"
    "\n"
    "終了コード: 0 書いた、1 ファイルが読めないか壊れている、2 コマンドラインの誤り。\n";

// The file to read, or why the command line is wrong (`error`, UTF-8). A song (.mid) or a
// project (.vwm) stands for the VNL file Make writes beside it.
std::string ParseArguments(int argc, char** argv, std::string& error) {
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.size() > 1 && argument[0] == '-') {
      error = "不明なオプションです: \"" + argument + "\" (使えるのは --help、--version)";
    } else if (argument.empty()) {
      error = "空のファイル名があります";
    } else if (!file.empty()) {
      error = "VNLファイルは一つだけ指定してください: \"" + argument + "\"";
    } else {
      file = argument;
    }
    if (!error.empty()) return {};
  }
  if (file.empty())
    error = "VNLファイル (SONG.vnl、または SONG.mid か SONG.vwm) を指定してください";
  return BesideSong(file, "vnl");
}

void Dump(const char* path) {
  VnlFile file = ReadVnlFile(path);
  std::printf("%s: Varnel WRD version %u, %zu records\n", path, file.version, file.records.size());
  std::printf("%-5s %10s %-6s %s\n", "block", "tick", "opcode", "record");
  for (const VnlRecord& record : file.records) {
    std::string line = Cp932ToUtf8(DescribeRecord(record));
    std::printf("%-5s %10u %-6.2X %s\n", record.block == 0 ? "def" : "data", record.tick,
                record.opcode, line.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The system's reasons (strerror) in the user's language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vnl-dump")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::string error;
  const std::string file = ParseArguments(argc, argv, error);
  if (!error.empty()) {
    std::fprintf(stderr, "vnl-dump: %s（vnl-dump --help を参照）\n", error.c_str());
    return 2;
  }
  try {
    Dump(file.c_str());
  } catch (const VnlError& e) {
    std::fprintf(stderr, "vnl-dump: %s: %s\n", file.c_str(), e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vnl-dump: %s\n", e.what());
    return 1;
  }
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "vnl-dump: 出力を書けません: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
