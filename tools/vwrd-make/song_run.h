#pragma once

#include <string>

// Where the lines of one song's run go (UTF-8, without line ends): the build log and the
// problems, and the messages that say why the song could not be built.
class SongOutput {
 public:
  virtual ~SongOutput() = default;
  virtual void Out(const std::string& line) = 0;
  virtual void Err(const std::string& line) = 0;
};

// What one song came to.
struct SongResult {
  // As the exit status of a run of this song alone: 0 clean, 1 errors (with --check: anything
  // found), 2 the project could not be read or is no project (nothing was built).
  int Status = 0;
  int Errors = 0;
  int Warnings = 0;
  bool Failed = false;  // nothing was built or checked
};

// Builds the song (SONG.mid or SONG.vwm, as typed) from its project as Make does and lists
// what the checks find; with `check` only lists that. Messages name the files as typed. Never
// throws.
SongResult RunSong(const std::string& typed, bool check, SongOutput& output);
