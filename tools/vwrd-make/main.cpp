// vwrd-make: "Make" without a window. Loads the project file beside a MIDI file and writes the
// VNL file, the text script and the PNG files into the song's folder, then lists what the checks
// found; with --check it only lists that.

#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "checks/song_length.h"
#include "document/names.h"
#include "document/project_file.h"
#include "make/make_wrd_files.h"
#include "text/cp932.h"
#include "tools/vwrd-make/command_line.h"
#include "vwrd_version.h"

namespace {

constexpr char kUsage[] =
    "Usage: vwrd-make [--check] SONG.mid\n"
    "       vwrd-make [--check] SONG.vwm\n"
    "\n"
    "Builds the WRD files of a song from its project file (SONG.vwm, beside the MIDI file):\n"
    "SONG.vnl, SONG.evn and a PNG file for every BMP picture that has none or an older one, all\n"
    "in the song's folder. The MIDI file is read only for\n"
    "its length (for the checks) and need not exist.\n"
    "The build log goes to standard output, followed by the problems the checks found: one line\n"
    "per problem, \"#N <severity>: <text> [id]\" for event N (\"- ...\" for the project).\n"
    "\n"
    "  --check  only list the problems; write nothing.\n"
    "\n"
    "Exit status: 0 when the build logged no error, 1 when it did or when the project file\n"
    "was cut short or held more than 1024 events (built from what was read, with a line on\n"
    "standard error), 2 when the project file cannot be read or is no project file (nothing\n"
    "is written) or the arguments are wrong. With --check: 0 when nothing was found, 1 when\n"
    "anything was, 2 likewise.\n";

void PrintLine(const std::string& cp932) {
  std::fputs(Cp932ToUtf8(cp932).c_str(), stdout);
  std::fputc('\n', stdout);
}

// Prints the build log, converted to UTF-8.
class PrintingLog : public BuildLog {
 public:
  void BeginLog() override {}
  void AddLogLine(const std::string& line) override { PrintLine(line); }
  void EndLog() override { std::fflush(stdout); }
};

void PrintProblems(const std::vector<Problem>& problems) {
  for (const Problem& problem : problems) PrintLine(ProblemLine(problem));
  std::fflush(stdout);
}

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
  const CommandLine line = ParseCommandLine(argc, argv);
  if (line.Help && line.Error.empty()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!line.Error.empty()) return Fail(line.Error);
  try {
    auto table = std::make_unique<EventTable>();
    // SONG.vwm names its own project file: the base name drops the three-letter extension.
    SetMidiPath(*table, Utf8ToCp932(line.Song));
    const ProjectLoad load = ReadProject(*table);
    // A file that is no project must not replace the last good outputs with an empty show.
    if (!load.Loaded()) return Fail(load.Message);
    if (!load.Message.empty()) std::fprintf(stderr, "vwrd-make: %s\n", load.Message.c_str());
    // The song is read for its length only; one that is there but refused (a named pipe, no
    // song, hours long) is said, and the run goes on without it.
    const SongRead song = ReadSong(*table);
    if (!song.Refusal.empty()) std::fprintf(stderr, "vwrd-make: %s\n", song.Refusal.c_str());
    const bool whole = load.status == ProjectLoad::Status::kLoaded && song.Refusal.empty();
    const std::optional<int32_t> songLength = song.Length;
    if (line.Check) {
      const std::vector<Problem> problems = Check(*table, songLength);
      PrintProblems(problems);
      return problems.empty() && whole ? 0 : 1;
    }
    PrintingLog log;
    const BuildResult result = MakeWrdFiles(*table, log);
    const std::vector<Problem> problems = Check(*table, result.Pictures, songLength);
    PrintProblems(problems);
    return result.ErrorLines > 0 || CountErrors(problems) > 0 || !whole ? 1 : 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vwrd-make: %s\n", error.what());
    return 1;
  }
}
