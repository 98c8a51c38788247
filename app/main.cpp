// Varnel WRD Maker: the main window with its preview and build log windows. The optional
// argument is a MIDI file, or a project file standing for its song, to open at start-up, and
// with it a lyric sheet whose pages wait to be tapped in.
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/application.h"
#include "app/qt_dialogs.h"
#include "app/tform1.h"
#include "document/song_argument.h"
#include "logwindow/tform3.h"
#include "preview/tform2.h"
#include "song/fluid_media_player.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "使い方: varnel-wrd-maker [SONG.mid | SONG.vwm] [--lyrics SHEET.txt]\n"
    "\n"
    "MIDI の曲に合わせてスライドショーの時間を決め、WRD ファイルを作ります。ここで指定した\n"
    "MIDI ファイルを起動時に開きます。プロジェクトファイル (SONG.vwm) を指定すると、同じ名前の\n"
    "MIDI ファイルを開きます。\n"
    "\n"
    "  --lyrics SHEET.txt  歌詞シート (UTF-8 か Shift-JIS、空行でページを区切る)。ページは\n"
    "                      ステータス行で待ち、Insert のたびに次のページを加えます\n"
    "  --help     この説明を表示して終了\n"
    "  --version  版を表示して終了\n";

// Qt's own texts (standard buttons, file and colour dialogs) in Japanese, like the rest of the
// program. Without the translation the program still runs, with those texts in English.
void LoadQtTranslation(QTranslator& translator) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator.load(QStringLiteral("qtbase_ja"), folder)) {
    QCoreApplication::installTranslator(&translator);
  } else {
    std::fprintf(stderr,
                 "varnel-wrd-maker: Qt の日本語訳 %s/qtbase_ja.qm を読めません "
                 "(qt6-translations-l10n が必要です)。Qt の標準ダイアログは英語で表示されます。\n",
                 folder.toLocal8Bit().constData());
  }
}

int Run(Application& app, Dialogs& dialogs) {
  FluidMediaPlayer player;
  // The main window first: it is the one whose closing ends the program.
  TForm1 form1(player, dialogs);
  form1.UseSettingsFile(TimingSettings::DefaultPath());
  TForm2 form2;
  TForm3 form3;
  form1.AttachPreview(&form2);
  form1.AttachLog(&form3);
  form1.show();
  QStringList arguments = QCoreApplication::arguments();
  const qsizetype lyrics = arguments.indexOf(QStringLiteral("--lyrics"));
  QString sheet;
  if (lyrics > 0 && lyrics + 1 < arguments.size()) {
    sheet = arguments.at(lyrics + 1);
    arguments.remove(lyrics, 2);
  }
  if (arguments.size() > 1) {
    try {
      const std::string song = SongPathForArgument(arguments.at(1).toStdString());
      form1.OpenMidiFile(QString::fromStdString(song));
    } catch (const std::exception& error) {
      app.ReportError(QString::fromUtf8(error.what()));
    }
  }
  // A sheet that cannot be read is told; the song stays open.
  if (!sheet.isEmpty()) {
    try {
      form1.Lyrics().QueueSheetFile(sheet);
    } catch (const std::exception& error) {
      app.ReportError(QString::fromUtf8(error.what()));
    }
  }
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that they work without a display.
  if (PrintVersionIfAsked(argc, argv, "varnel-wrd-maker")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Application app(argc, argv);
  QTranslator qtTranslation;
  LoadQtTranslation(qtTranslation);
  QtDialogs dialogs;
  app.SetDialogs(&dialogs);
  try {
    return Run(app, dialogs);
  } catch (const std::exception& error) {
    dialogs.ShowError(QString::fromUtf8(error.what()));
  } catch (...) {
    dialogs.ShowError(QStringLiteral("不明なエラーです"));
  }
  return 0;
}
