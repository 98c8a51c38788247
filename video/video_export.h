#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "song/fluid_synth_output.h"
#include "song/midi_song.h"
#include "video/frame_source.h"

struct VideoOptions {
  int fps = 30;   // 1..120
  int scale = 1;  // 1: 640 x 480, 2: 1280 x 960
  std::string soundfont_folder = FluidSynthOutput::Options{}.soundfont_folder;
};

// Called after every frame with the song time written so far and the time where the song ends;
// while the release tail (at most three seconds) is written after it, the time written stays
// at the song's end, so that it never passes the total. Returns false to cancel.
using VideoProgress = std::function<bool(int64_t written_micros, int64_t song_end_micros)>;

// Writes an MP4 video of `song` to `path` (UTF-8): the frame at song time t is what `frames`
// shows at the WRD tick of t, the sound is the song through the program's synthesizer, and the
// video lasts the song plus its release tail. The file appears only when it is complete: after
// a failure or a cancel no temporary file is left and an earlier file at `path` is untouched.
// A write that fails (the disk full) stops the export at once. Throws VideoError
// (VideoCancelled when `progress` returned false).
void ExportVideo(const MidiSong& song, FrameSource& frames, const std::string& path,
                 const VideoOptions& options, const VideoProgress& progress = {});
