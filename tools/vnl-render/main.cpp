// vnl-render FILE.vnl --tick T -o OUT.png: writes the screen a VNL file shows at tick T as a
// 640 x 480 RGB PNG file. The pictures are read from the VNL file's folder.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "picture/rgb_png_writer.h"
#include "vwrd_version.h"
#include "wrdplayer/png_folder_source.h"
#include "wrdplayer/show_player.h"

namespace {

constexpr char kUsage[] =
    "使い方: vnl-render FILE.vnl --tick T -o OUT.png\n"
    "\n"
    "VNLファイルがティックTで表示する画面を、640 x 480のRGB PNGファイルOUT.pngに書き出します。\n"
    "画像(PNG)はVNLファイルと同じフォルダから読みます。ティックは四分音符あたり48です。\n"
    "\n"
    "  --tick T      表示するティック(整数)\n"
    "  -o OUT.png    書き出すPNGファイル\n"
    "  --help        この説明を表示して終了\n"
    "  --version     版を表示して終了\n"
    "\n"
    "終了コード: 0 書き出した、1 VNLファイルが読めないか壊れている、または書き出せない、\n"
    "2 コマンドラインの誤り。\n";

struct Arguments {
  std::string vnl;
  int64_t tick = 0;
  std::string output;
};

std::optional<int64_t> ParseTick(const std::string& text) {
  size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (at == text.size() || text.size() - at > 12) return std::nullopt;
  int64_t value = 0;
  for (size_t i = at; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return at == 1 ? -value : value;
}

std::optional<Arguments> Parse(int argc, char** argv) {
  Arguments arguments;
  bool haveTick = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "--tick" || argument == "-o") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (argument == "-o") {
        if (!arguments.output.empty() || value.empty()) return std::nullopt;
        arguments.output = value;
        continue;
      }
      std::optional<int64_t> tick = ParseTick(value);
      if (!tick || haveTick) return std::nullopt;
      arguments.tick = *tick;
      haveTick = true;
    } else if (argument.empty() || argument[0] == '-' || !arguments.vnl.empty()) {
      return std::nullopt;
    } else {
      arguments.vnl = argument;
    }
  }
  if (arguments.vnl.empty() || arguments.output.empty() || !haveTick) return std::nullopt;
  return arguments;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": 開けません (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kMaxVnlFileSize) throw std::runtime_error(path + ": 大きすぎます");
  }
  if (in.bad()) throw std::runtime_error(path + ": 読めません");
  return bytes;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

void Render(const Arguments& arguments) {
  ShowPlayer::Options options;
  options.keepSnapshots = false;  // one screen only
  ShowPlayer player(ReadWholeFile(arguments.vnl),
                    std::make_unique<PngFolderSource>(FolderOf(arguments.vnl)), options);
  const Screen& screen = player.ScreenAt(arguments.tick);
  std::vector<uint8_t> rgb(size_t{Screen::kWidth} * Screen::kHeight * 3);
  screen.ToRgb(rgb.data());
  WriteFileAtomically(arguments.output, EncodeRgbPng(Screen::kWidth, Screen::kHeight, rgb.data()),
                      AtomicFile::Durability::kUnsynced);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (PrintVersionIfAsked(argc, argv, "vnl-render")) return 0;
  std::optional<Arguments> arguments = Parse(argc, argv);
  if (!arguments) {
    std::fputs("vnl-render: コマンドラインが正しくありません (vnl-render --help を参照)\n", stderr);
    return 2;
  }
  try {
    Render(*arguments);
  } catch (const VnlError& e) {
    std::fprintf(stderr, "vnl-render: %s: 壊れたVNLファイルです (%s)\n", arguments->vnl.c_str(),
                 e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vnl-render: %s\n", e.what());
    return 1;
  }
  return 0;
}
