// vnl-render SONG.vnl --tick T -o OUT.png: writes the screen a VNL file shows at tick T as a
// 640 x 480 RGB PNG file. With --sheet instead of --tick: one PNG of every event's settled
// screen at a quarter of its size, its tick under it. The pictures are read from the VNL file's
// folder.
#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "files/file_errors.h"
#include "files/regular_file.h"
#include "picture/rgb_png_writer.h"
#include "tools/vnl-render/render_arguments.h"
#include "vwrd_version.h"
#include "wrdplayer/contact_sheet.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/png_folder_source.h"
#include "wrdplayer/show_player.h"
#include "wrdplayer/shown_events.h"

namespace {

constexpr char kUsage[] =
    "使い方: vnl-render SONG.vnl --tick T -o OUT.png\n"
    "        vnl-render SONG.vnl --sheet -o SHEET.png [--columns N]\n"
    "\n"
    "VNLファイルがティックTで表示する画面を、640 x 480のRGB PNGファイルOUT.pngに書き出します。\n"
    "--sheet では、イベント(画面を表示するティック)ごとに落ち着いた画面(フェードインの後)を\n"
    "4分の1の大きさ(160 x 120)で並べ、下にティックを添えた一枚のPNGファイルを書き出します。\n"
    "SONG.vnl の代わりに曲(SONG.mid)かプロジェクト(SONG.vwm)を指定すると、その横の\n"
    "SONG.vnl を読みます。画像(PNG)はVNLファイルと同じフォルダから読みます。\n"
    "ティックは四分音符あたり48です。\n"
    "\n"
    "  --tick T      表示するティック(整数)\n"
    "  --sheet       全イベントの一覧(コンタクトシート)を書き出す\n"
    "  --columns N   一覧の一行のイベント数(1から64、既定は4)\n"
    "  -o OUT.png    書き出すPNGファイル\n"
    "  --help        この説明を表示して終了\n"
    "  --version     版を表示して終了\n"
    "\n"
    "終了コード: 0 書き出した、1 VNLファイルが読めないか壊れている、または書き出せない、\n"
    "2 コマンドラインの誤り。\n";

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::vector<uint8_t> ReadVnlBytes(const std::string& path) {
  const std::string bytes = ReadRegularFile(path, kMaxVnlFileSize);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::string ScreenPng(const Screen& screen) {
  std::vector<uint8_t> rgb(size_t{Screen::kWidth} * Screen::kHeight * 3);
  screen.ToRgb(rgb.data());
  return EncodeRgbPng(Screen::kWidth, Screen::kHeight, rgb.data());
}

// Says on the standard error why a picture that is there was not shown (it is drawn black).
void ReportPictureFailures(const PngFolderSource& pictures) {
  for (const PngFolderSource::Failure& failure : pictures.Failures()) {
    const auto* unread = dynamic_cast<const FileReadError*>(failure.error.get());
    const std::string reason = unread != nullptr ? unread->Reason() : failure.error->what();
    std::fprintf(stderr, "vnl-render: %s: 画像を読めません (%s)\n", failure.path.c_str(),
                 reason.c_str());
  }
}

std::string SheetPng(std::vector<uint8_t> vnl, std::unique_ptr<PngFolderSource> pictures,
                     int columns) {
  const std::vector<ShownEvent> events = FindShownEvents(ReadVnlRecords(vnl));
  ShowPlayer::Options options;
  options.keepSnapshots = false;              // the ticks only go forward
  const PngFolderSource& source = *pictures;  // the player owns it from here on
  ShowPlayer player(std::move(vnl), std::move(pictures), options);
  std::vector<SheetEntry> entries;
  for (const ShownEvent& event : events) {
    entries.push_back({TileOf(player.ScreenAt(event.settledTick)), std::to_string(event.tick)});
  }
  ReportPictureFailures(source);
  GlyphFont font;
  return ContactSheetPng(ComposeContactSheet(entries, columns, font));
}

void Render(const RenderArguments& arguments) {
  std::vector<uint8_t> vnl = ReadVnlBytes(arguments.vnl);
  auto source = std::make_unique<PngFolderSource>(FolderOf(arguments.vnl));
  std::string png;
  if (arguments.sheet) {
    png = SheetPng(std::move(vnl), std::move(source), arguments.columns);
  } else {
    const PngFolderSource& pictures = *source;  // the player owns it from here on
    ShowPlayer::Options options;
    options.keepSnapshots = false;  // one screen only
    ShowPlayer player(std::move(vnl), std::move(source), options);
    png = ScreenPng(player.ScreenAt(arguments.tick));
    ReportPictureFailures(pictures);
  }
  WriteFileAtomically(arguments.output, png, AtomicFile::Durability::kUnsynced);
}

}  // namespace

int main(int argc, char** argv) {
  // The system's reasons (strerror) in the user's language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vnl-render")) return 0;
  const RenderArguments arguments = ParseRenderArguments(argc, argv);
  if (arguments.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!arguments.error.empty()) {
    std::fprintf(stderr, "vnl-render: %s（vnl-render --help を参照）\n", arguments.error.c_str());
    return 2;
  }
  try {
    Render(arguments);
  } catch (const VnlError& e) {
    std::fprintf(stderr, "vnl-render: %s: 壊れたVNLファイルです (%s)\n", arguments.vnl.c_str(),
                 e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vnl-render: %s\n", e.what());
    return 1;
  }
  return 0;
}
