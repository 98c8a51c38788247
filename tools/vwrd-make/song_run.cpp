#include "tools/vwrd-make/song_run.h"

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "checks/check.h"
#include "checks/problem_lines.h"
#include "checks/song_length.h"
#include "document/names.h"
#include "document/project_file.h"
#include "document/song_argument.h"
#include "make/make_wrd_files.h"
#include "text/cp932.h"

namespace {

// Hands the build log to the output, in UTF-8.
class OutputLog : public BuildLog {
 public:
  explicit OutputLog(SongOutput& output) : output_(output) {}
  void BeginLog() override {}
  void AddLogLine(const std::string& line) override { output_.Out(Cp932ToUtf8(line)); }
  void EndLog() override {}

 private:
  SongOutput& output_;
};

// The project file as the user would name it: SONG.vwm as typed, or the one Make reads beside
// SONG.mid (the name less its last three letters, then "vwm").
std::string ProjectPath(const std::string& typed) {
  return HasExtension(typed, ".vwm") ? typed : BesideSong(typed, "vwm");
}

void ListProblems(const std::vector<Problem>& problems, SongResult& result, SongOutput& output) {
  for (const Problem& problem : problems) output.Out(Cp932ToUtf8(ProblemLine(problem)));
  result.Errors += CountErrors(problems);
  result.Warnings += CountWarnings(problems);
}

}  // namespace

SongResult RunSong(const std::string& typed, bool check, SongOutput& output) {
  SongResult result;
  try {
    auto table = std::make_unique<EventTable>();
    SetMidiPath(*table, Utf8ToCp932(typed));
    const ProjectLoad load = ReadProjectFile(ProjectPath(typed), *table);
    // A file that is no project must not replace the last good outputs with an empty show.
    if (!load.Loaded()) {
      output.Err("vwrd-make: " + load.Message);
      return {2, 0, 0, true};
    }
    const bool whole = load.status == ProjectLoad::Status::kLoaded;
    if (!whole) {
      output.Err("vwrd-make: " + load.Message);
      result.Errors = 1;
    }
    // The song is read for its length only; one that is there but refused (a named pipe, no
    // song, hours long) is said, and the run goes on without it.
    const SongRead song = ReadSong(*table);
    const bool songRefused = !song.Refusal.empty();
    if (songRefused) output.Err("vwrd-make: " + song.Refusal);
    const std::optional<int32_t> songLength = song.Length;
    if (check) {
      ListProblems(Check(*table, songLength), result, output);
      result.Status = result.Errors + result.Warnings > 0 || songRefused ? 1 : 0;
      return result;
    }
    OutputLog log(output);
    const BuildResult build = MakeWrdFiles(*table, log);
    ListProblems(Check(*table, build.Pictures, songLength), result, output);
    result.Errors += ErrorsBesideProblems(build);
    result.Status = build.ErrorLines > 0 || result.Errors > 0 || songRefused ? 1 : 0;
  } catch (const std::exception& error) {
    output.Err(std::string("vwrd-make: ") + error.what());
    result = {1, result.Errors + 1, result.Warnings, true};
  }
  return result;
}
