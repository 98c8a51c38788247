#pragma once

#include <cstdint>
#include <memory>
#include <ostream>

// Encodes pictures and sound into an MP4 stream through FFmpeg's libraries: H.264 video
// (libx264, 4:2:0, BT.709) and stereo AAC audio.
class Mp4Writer {
 public:
  struct Format {
    int width = 640;  // of the pictures given to WriteVideo
    int height = 480;
    int scale = 1;  // each picture pixel becomes scale x scale video pixels
    int fps = 30;
    int sample_rate = 44100;
  };

  // Writes to `out`, which must stay open and seekable until Finish(). Throws VideoError when
  // an encoder cannot be opened.
  Mp4Writer(std::ostream& out, const Format& format);
  ~Mp4Writer();
  Mp4Writer(const Mp4Writer&) = delete;
  Mp4Writer& operator=(const Mp4Writer&) = delete;

  // The next frame: width x height RGB888 pixels, row-major. Throws VideoError.
  void WriteVideo(const uint8_t* rgb);
  // The next `frames` stereo frames of sound. Throws VideoError.
  void WriteAudio(const float* left, const float* right, int frames);
  // Flushes both encoders and completes the file. Throws VideoError.
  void Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
