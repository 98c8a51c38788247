// vwrd-make: "Make" without a window. Loads the project file beside a MIDI file and writes the
// VNL file, the text script and the PNG files into the song's folder.

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "app/document/cp932.h"
#include "app/document/names.h"
#include "app/document/project_file.h"
#include "build/make_wrd_files.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "Usage: vwrd-make SONG.mid\n"
    "       vwrd-make SONG.vwm\n"
    "\n"
    "Builds the WRD files of a song from its project file (SONG.vwm, beside the MIDI file):\n"
    "SONG.vnl, SONG.evn and a PNG file for every BMP picture that has none or an older one, all\n"
    "in the song's folder. The MIDI file itself is not read and need not exist.\n"
    "The build log goes to standard output.\n"
    "\n"
    "Exit status: 0 when the build logged no error, 1 when it did or when the project file\n"
    "was cut short or held more than 1024 events (built from what was read, with a line on\n"
    "standard error), 2 when the project file cannot be read or is no project file (nothing\n"
    "is written) or the arguments are wrong.\n";

// Prints the build log, converted to UTF-8.
class PrintingLog : public BuildLog {
 public:
  void BeginLog() override {}
  void AddLogLine(const std::string& line) override {
    std::fputs(Cp932ToUtf8(line).c_str(), stdout);
    std::fputc('\n', stdout);
  }
  void EndLog() override { std::fflush(stdout); }
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "vwrd-make: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The system's reasons (strerror) in the user's language.
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  if (PrintVersionIfAsked(argc, argv, "vwrd-make")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '\0' || (argv[1][0] == '-' && argv[1][1] != '\0')) {
    return Fail("引数は SONG.mid か SONG.vwm のどちらか一つです (vwrd-make --help を参照)");
  }
  try {
    auto table = std::make_unique<EventTable>();
    // SONG.vwm names its own project file: the base name drops the three-letter extension.
    SetMidiPath(*table, Utf8ToCp932(argv[1]));
    const ProjectLoad load = ReadProject(*table);
    // A file that is no project must not replace the last good outputs with an empty show.
    if (!load.Loaded()) return Fail(load.Message);
    if (!load.Message.empty()) std::fprintf(stderr, "vwrd-make: %s\n", load.Message.c_str());
    PrintingLog log;
    const BuildResult result = MakeWrdFiles(*table, log);
    const bool whole = load.status == ProjectLoad::Status::kLoaded;
    return result.ErrorLines > 0 || !whole ? 1 : 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vwrd-make: %s\n", error.what());
    return 1;
  }
}
