#include "video/show_video.h"

#include <filesystem>

#include "document/names.h"
#include "files/regular_file.h"
#include "showmodel/show_model.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"
#include "video/video_error.h"

namespace {

// Whether `a` names the existing file `b`.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

// The frames of the show: the same model the show window plays.
class ShowVideoExport::Frames : public FrameSource {
 public:
  explicit Frames(const EventTable& table) { model_.Update(table); }
  void Render(int64_t wrd_tick, uint8_t* rgb) override { model_.ScreenAt(wrd_tick).ToRgb(rgb); }
  const ShowModel& Model() const { return model_; }

 private:
  ShowModel model_;
};

std::string DefaultVideoPath(const EventTable& table) {
  return Cp932ToUtf8(table.MidiFolder + table.BaseName + "mp4");
}

ShowVideoExport::ShowVideoExport(const EventTable& table)
    : table_(std::make_unique<EventTable>(table)) {
  const std::string songPath = Cp932ToUtf8(table.MidiPath);
  try {
    // Looked at first without waiting: a named pipe as the song would block the reader.
    const RegularFile song(songPath);
  } catch (const FileReadError& error) {
    throw VideoError(std::string("MIDIファイルを読めません: ") + error.what());
  }
  try {
    song_ = ReadMidiFile(songPath);
  } catch (const VwrdError& error) {
    throw VideoError("MIDIファイルを読めません: " + songPath + ": " + error.what());
  }
  frames_ = std::make_unique<Frames>(*table_);
}

ShowVideoExport::~ShowVideoExport() = default;

std::vector<std::string> ShowVideoExport::Refusals() const { return frames_->Model().Refusals(); }

void ShowVideoExport::Export(const std::string& path, const VideoOptions& options,
                             const VideoProgress& progress) {
  // The video replaces whatever `path` names; never the song or its project.
  for (const std::string& own : {table_->MidiPath, ProjectFilePath(*table_)}) {
    if (SameFile(path, Cp932ToUtf8(own))) {
      throw VideoError("書き出し先が曲のファイルです: " + path);
    }
  }
  ExportVideo(song_, *frames_, path, options, progress);
}

void ExportShowVideo(const EventTable& table, const std::string& path, const VideoOptions& options,
                     const VideoProgress& progress) {
  ShowVideoExport(table).Export(path, options, progress);
}
