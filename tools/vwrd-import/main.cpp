// vwrd-import: a project from the lyrics a song carries. Reads the song's syllables, cuts them
// into pages and writes one event per page into the project file beside the song, then lists
// the pages.

#include <clocale>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "document/names.h"
#include "document/project_file.h"
#include "editing/project_backup.h"
#include "lyrics/lyric_import.h"
#include "lyrics/lyric_list_text.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"
#include "tools/vwrd-import/import_command_line.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "使い方: vwrd-import SONG.mid [-o PROJECT.vwm] [--lead N] [--lines N]\n"
    "                    [--template PROJECT.vwm] [--force]\n"
    "\n"
    "曲 (MIDI ファイル) が持つ歌詞から、1 ページを 1 イベントにしたプロジェクトファイルを\n"
    "作り、ページごとに 1 行 (時刻、タイム、歌詞) を表示します。\n"
    "\n"
    "  -o PROJECT.vwm         書き出すプロジェクトファイル (省略時は曲の隣の SONG.vwm)\n"
    "  --lead N               ページを歌い出しの何 16 分音符前に出すか (0 から 32、既定は 4)\n"
    "  --lines N              改ページの無い歌詞の 1 ページの行数 (1 から 16、既定は 2)\n"
    "  --template PROJECT.vwm このプロジェクトの最初のイベントの画像・枠・揃え・色を使う\n"
    "                         (省略時は画像なし、枠 (0, 400)-(639, 479)、中央寄せ、白)\n"
    "  --force                既にあるプロジェクトファイルを置き換える (元のファイルは\n"
    "                         PROJECT.vwm.bak として残す)\n"
    "\n"
    "終了ステータス: 0 取り込んだ、1 取り込んだが注意がある (標準エラー出力に 1 件 1 行)、\n"
    "2 何も取り込まなかった (歌詞が無い、曲を読めない、コマンドラインが正しくない、\n"
    "プロジェクトファイルが既にある、書けない)。\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "vwrd-import: %s\n", message.c_str());
  return 2;
}

// The layout of the first event of a template project, or the default.
EventItem TemplateLayout(const std::string& path) {
  if (path.empty()) return DefaultLyricLayout();
  auto table = std::make_unique<EventTable>();
  const ProjectLoad load = ReadProjectFile(path, *table);
  if (!load.Loaded()) throw VwrdError("ひな形を読めません: " + load.Message);
  return table->EventCount > 0 ? table->events[0] : DefaultLyricLayout();
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vwrd-import")) return 0;
  const ImportCommandLine line = ParseImportCommandLine(argc, argv);
  if (line.Help && line.Error.empty()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!line.Error.empty()) return Fail(line.Error);
  try {
    MidiSong song;
    try {
      song = ReadMidiFile(line.Song);
    } catch (const VwrdError& error) {
      return Fail("曲を読めません: " + line.Song + ": " + error.what());
    }
    const EventItem layout = TemplateLayout(line.Template);
    const LyricImport import = ImportSongLyrics(song, line.Settings, layout);
    for (const std::string& notice : import.notices) {
      std::fprintf(stderr, "vwrd-import: %s\n", notice.c_str());
    }
    if (import.events.empty()) return Fail("曲に歌詞がありません: " + line.Song);

    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, Utf8ToCp932(line.Song));
    const std::string project =
        line.Project.empty() ? Cp932ToUtf8(ProjectFilePath(*table)) : line.Project;
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(project, ignored))) {
      if (!line.Force) {
        return Fail("プロジェクトファイルが既にあります: " + project +
                    " (置き換えるには --force を付けてください)");
      }
      KeepBackup(project);
    }
    for (const EventItem& event : import.events) table->events[table->EventCount++] = event;
    WriteProjectFile(project, *table);

    for (const EventItem& event : import.events) {
      const std::string time = SongTimeText(song.tempo.MicrosAtSixteenth(event.Count));
      std::printf("%s %5d  %s\n", time.c_str(), event.Count,
                  Cp932ToUtf8(LyricsOnOneLine(event.Lyrics)).c_str());
    }
    std::fflush(stdout);
    return import.notices.empty() ? 0 : 1;
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
}
