#pragma once

#include <string>

#include "document/event_table.h"
#include "video/video_export.h"

// The file a document's video goes to by default: SONG.mp4 beside the song (UTF-8 path).
std::string DefaultVideoPath(const EventTable& table);

// Writes the video of a document as it stands: the song at its MidiPath with the show built in
// memory from its events (no PNG, VNL or EVN file is written). `path` is UTF-8. Throws
// VideoError (with the reason) when the song cannot be read or the video cannot be written;
// the file is then not left half-written.
void ExportShowVideo(const EventTable& table, const std::string& path, const VideoOptions& options,
                     const VideoProgress& progress = {});
