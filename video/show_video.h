#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/event_table.h"
#include "song/midi_song.h"
#include "video/video_export.h"

class ShowModel;

// The file a document's video goes to by default: SONG.mp4 beside the song (UTF-8 path).
std::string DefaultVideoPath(const EventTable& table);

// A document's show made ready for a video: the song read and the show built in memory from
// the events, pictures within the player's memory budget (no PNG, VNL or EVN file is written).
// What it shows and what it refuses are known before a frame is written.
class ShowVideoExport {
 public:
  // Reads the song at the table's MidiPath (only a regular file: a named pipe or a device is
  // refused at once) and builds the show. Throws VideoError (with the reason) when the song
  // cannot be read.
  explicit ShowVideoExport(const EventTable& table);
  ~ShowVideoExport();

  // Why the video is not the show the project describes: each refused picture, as the two lines
  // Make logs for it (RefusalText), or why the show could not be played; empty when none.
  std::vector<std::string> Refusals() const;

  // Writes the video to `path` (UTF-8). Throws VideoError (with the reason) when the video cannot
  // be written, or `path` is the song or its project; the file is then not left half-written.
  void Export(const std::string& path, const VideoOptions& options,
              const VideoProgress& progress = {});

 private:
  class Frames;

  std::unique_ptr<EventTable> table_;
  MidiSong song_;
  std::unique_ptr<Frames> frames_;
};

// ShowVideoExport(table).Export(path, options, progress).
void ExportShowVideo(const EventTable& table, const std::string& path, const VideoOptions& options,
                     const VideoProgress& progress = {});
