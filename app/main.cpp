// Varnel WRD Maker: the main window with its preview and build log windows. The one optional
// argument is a MIDI file to open at start-up.
#include <QStringList>
#include <exception>

#include "app/application.h"
#include "app/playback/fluid_media_player.h"
#include "app/qt_dialogs.h"
#include "app/tform1.h"
#include "build/gui/tform3.h"
#include "preview/tform2.h"

namespace {

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
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    try {
      form1.OpenMidiFile(arguments.at(1));
    } catch (const std::exception& error) {
      app.ReportError(QString::fromUtf8(error.what()));
    }
  }
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  QtDialogs dialogs;
  app.SetDialogs(&dialogs);
  try {
    return Run(app, dialogs);
  } catch (const std::exception& error) {
    dialogs.ShowError(QString::fromUtf8(error.what()));
  } catch (...) {
    dialogs.ShowError(QStringLiteral("Unknown error"));
  }
  return 0;
}
