#include "video/video_export.h"

#include <algorithm>
#include <vector>

#include "files/atomic_file.h"
#include "video/audio_renderer.h"
#include "video/frame_clock.h"
#include "video/mp4_writer.h"
#include "video/video_error.h"

namespace {

constexpr int kAudioBlock = 1024;

}  // namespace

void ExportVideo(const MidiSong& song, FrameSource& frames, const std::string& path,
                 const VideoOptions& options, const VideoProgress& progress) {
  AudioRenderer audio(song, options.soundfont_folder);
  const FrameClock clock(song.tempo, options.fps);
  try {
    AtomicFile file(path, AtomicFile::Durability::kSynced);
    Mp4Writer writer(file.Stream(), {.width = FrameSource::kWidth,
                                     .height = FrameSource::kHeight,
                                     .scale = options.scale,
                                     .fps = clock.Fps(),
                                     .sample_rate = audio.SampleRate()});
    std::vector<uint8_t> rgb(size_t(FrameSource::kWidth) * FrameSource::kHeight * 3);
    std::vector<float> left(kAudioBlock), right(kAudioBlock);
    for (int64_t frame = 0;; ++frame) {
      // The sound up to this frame's start, so that both streams advance together.
      const int64_t frame_sample = frame * audio.SampleRate() / clock.Fps();
      while (!audio.Finished() && audio.Position() < frame_sample) {
        const int want =
            static_cast<int>(std::min<int64_t>(kAudioBlock, frame_sample - audio.Position()));
        const int got = audio.Render(left.data(), right.data(), want);
        writer.WriteAudio(left.data(), right.data(), got);
      }
      if (audio.Finished() && audio.Position() <= frame_sample) break;
      frames.Render(clock.WrdTickOfFrame(frame), rgb.data());
      writer.WriteVideo(rgb.data());
      const int64_t end = audio.SongEndMicros();
      if (progress && !progress(std::min(clock.MicrosOfFrame(frame), end), end)) {
        throw VideoCancelled();
      }
    }
    writer.Finish();
    file.Commit();
  } catch (const FileWriteError& error) {
    throw VideoError(std::string("動画ファイルを書き込めません: ") + error.what());
  }
}
