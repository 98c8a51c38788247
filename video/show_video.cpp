#include "video/show_video.h"

#include <filesystem>

#include "document/names.h"
#include "showmodel/show_model.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"
#include "video/video_error.h"

namespace {

// The frames of the show: the same model the show window plays.
class ShowFrameSource : public FrameSource {
 public:
  explicit ShowFrameSource(const EventTable& table) { model_.Update(table); }
  void Render(int64_t wrd_tick, uint8_t* rgb) override { model_.ScreenAt(wrd_tick).ToRgb(rgb); }

 private:
  ShowModel model_;
};

// Whether `a` names the existing file `b`.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

std::string DefaultVideoPath(const EventTable& table) {
  return Cp932ToUtf8(table.MidiFolder + table.BaseName + "mp4");
}

void ExportShowVideo(const EventTable& table, const std::string& path, const VideoOptions& options,
                     const VideoProgress& progress) {
  // The video replaces whatever `path` names; never the song or its project.
  for (const std::string& own : {table.MidiPath, ProjectFilePath(table)}) {
    if (SameFile(path, Cp932ToUtf8(own))) {
      throw VideoError("書き出し先が曲のファイルです: " + path);
    }
  }
  MidiSong song;
  try {
    song = ReadMidiFile(Cp932ToUtf8(table.MidiPath));
  } catch (const MidiFileError& error) {
    throw VideoError("MIDIファイルを読めません: " + Cp932ToUtf8(table.MidiPath) + ": " +
                     error.what());
  }
  ShowFrameSource frames(table);
  ExportVideo(song, frames, path, options, progress);
}
