#include "video/mp4_writer.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "files/file_errors.h"
#include "video/video_error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kIoBufferSize = 1 << 16;

struct IoDeleter {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);  // the context may have replaced the buffer it was given
    avio_context_free(&io);
  }
};
struct MuxerDeleter {
  void operator()(AVFormatContext* muxer) const { avformat_free_context(muxer); }
};
struct CodecDeleter {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerDeleter {
  void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

std::string Reason(int error) {
  // The system's errors in the user's language; FFmpeg's own in its words.
  if (error < 0 && error > -4096) return ErrnoText(-error);
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

void Check(int result, const char* what) {
  if (result < 0) throw VideoError(std::string(what) + " (" + Reason(result) + ")");
}

template <typename T>
T* Require(T* pointer, const char* what) {
  if (pointer == nullptr) throw VideoError(what);
  return pointer;
}

// Where the muxer's bytes go, and the first system error a write met.
struct Output {
  std::ostream* out;
  int error = 0;
};

int WriteToStream(void* opaque, uint8_t* bytes, int size) {
  auto& output = *static_cast<Output*>(opaque);
  errno = 0;
  output.out->write(reinterpret_cast<const char*>(bytes), size);
  if (*output.out) return size;
  if (output.error == 0) output.error = errno != 0 ? errno : EIO;
  return AVERROR(output.error);
}

// The MP4 muxer goes back to fill in sizes; it never needs the file's size.
int64_t SeekStream(void* opaque, int64_t offset, int whence) {
  auto& out = *static_cast<Output*>(opaque)->out;
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return AVERROR(ENOSYS);
  const auto direction = whence == SEEK_SET   ? std::ios::beg
                         : whence == SEEK_CUR ? std::ios::cur
                                              : std::ios::end;
  out.seekp(offset, direction);
  return out ? static_cast<int64_t>(out.tellp()) : AVERROR(EIO);
}

}  // namespace

struct Mp4Writer::State {
  Format format;
  Output output;
  std::unique_ptr<AVIOContext, IoDeleter> io;
  std::unique_ptr<AVFormatContext, MuxerDeleter> muxer;
  std::unique_ptr<AVCodecContext, CodecDeleter> video;
  std::unique_ptr<AVCodecContext, CodecDeleter> audio;
  AVStream* video_stream = nullptr;  // owned by the muxer
  AVStream* audio_stream = nullptr;
  std::unique_ptr<SwsContext, ScalerDeleter> scaler;
  std::unique_ptr<AVFrame, FrameDeleter> picture;
  std::unique_ptr<AVFrame, FrameDeleter> sound;
  std::unique_ptr<AVPacket, PacketDeleter> packet;
  std::vector<uint8_t> scaled;     // the picture enlarged, for scale 2
  std::vector<uint8_t> last;       // the last picture converted: a show repeats most of its frames
  std::vector<float> left, right;  // sound waiting for a whole AAC frame
  int64_t video_pts = 0;
  int64_t audio_pts = 0;

  void OpenVideo();
  void OpenAudio();
  // Sends a frame (null: flush) and writes every packet the encoder gives back.
  void Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
  // Throws when a write to the file has failed: the export stops at the first one, instead of
  // encoding the rest of the song for nothing.
  void CheckWritten() const;
  void EncodeSound(int frames);
  // Puts a picture into `picture`, enlarged and converted to the encoder's colours.
  void Convert(const uint8_t* rgb);
};

void Mp4Writer::State::Convert(const uint8_t* rgb) {
  const int width = format.width * format.scale;
  if (format.scale > 1) {
    // Nearest neighbour: every pixel becomes a square, so the pixels stay sharp.
    scaled.resize(size_t(width) * format.height * format.scale * 3);
    uint8_t* out = scaled.data();
    for (int y = 0; y < format.height; ++y) {
      const uint8_t* row = rgb + size_t(y) * format.width * 3;
      uint8_t* first = out;
      for (int x = 0; x < format.width; ++x) {
        for (int k = 0; k < format.scale; ++k) out = std::copy_n(row + x * 3, 3, out);
      }
      for (int k = 1; k < format.scale; ++k) out = std::copy_n(first, size_t(width) * 3, out);
    }
    rgb = scaled.data();
  }
  // The encoder may still hold the last picture.
  Check(av_frame_make_writable(picture.get()), "メモリが足りません");
  const uint8_t* planes[1] = {rgb};
  const int strides[1] = {width * 3};
  sws_scale(scaler.get(), planes, strides, 0, format.height * format.scale, picture->data,
            picture->linesize);
}

void Mp4Writer::State::OpenVideo() {
  const AVCodec* codec =
      Require(avcodec_find_encoder_by_name("libx264"), "H.264 の符号化器 (libx264) がありません");
  video.reset(Require(avcodec_alloc_context3(codec), "メモリが足りません"));
  AVCodecContext* c = video.get();
  c->width = format.width * format.scale;
  c->height = format.height * format.scale;
  c->time_base = {1, format.fps};
  c->framerate = {format.fps, 1};
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->gop_size = format.fps * 5;
  // Tagged, so that players do not guess BT.601 for small pictures and BT.709 for large ones.
  c->color_range = AVCOL_RANGE_MPEG;
  c->colorspace = AVCOL_SPC_BT709;
  c->color_primaries = AVCOL_PRI_BT709;
  c->color_trc = AVCOL_TRC_BT709;
  c->thread_count = 0;
  if (muxer->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  // A show is mostly still pictures with sharp edges: a fast preset with a high quality target.
  av_opt_set(c->priv_data, "preset", "veryfast", 0);
  av_opt_set(c->priv_data, "crf", "18", 0);
  Check(avcodec_open2(c, codec, nullptr), "H.264 の符号化器を開けません");
  video_stream = Require(avformat_new_stream(muxer.get(), nullptr), "メモリが足りません");
  video_stream->time_base = c->time_base;
  Check(avcodec_parameters_from_context(video_stream->codecpar, c), "映像の設定を書けません");

  scaler.reset(Require(
      sws_getContext(c->width, c->height, AV_PIX_FMT_RGB24, c->width, c->height, AV_PIX_FMT_YUV420P,
                     SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr),
      "色の変換を用意できません"));
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(scaler.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
  picture.reset(Require(av_frame_alloc(), "メモリが足りません"));
  picture->format = c->pix_fmt;
  picture->width = c->width;
  picture->height = c->height;
  Check(av_frame_get_buffer(picture.get(), 0), "メモリが足りません");
}

void Mp4Writer::State::OpenAudio() {
  const AVCodec* codec =
      Require(avcodec_find_encoder(AV_CODEC_ID_AAC), "AAC の符号化器がありません");
  audio.reset(Require(avcodec_alloc_context3(codec), "メモリが足りません"));
  AVCodecContext* c = audio.get();
  c->sample_fmt = AV_SAMPLE_FMT_FLTP;
  c->sample_rate = format.sample_rate;
  av_channel_layout_default(&c->ch_layout, 2);
  c->bit_rate = 192000;
  // FFmpeg's default AAC coder spends more time than the whole picture side for little gain.
  av_opt_set(c->priv_data, "aac_coder", "fast", 0);
  c->time_base = {1, format.sample_rate};
  if (muxer->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(c, codec, nullptr), "AAC の符号化器を開けません");
  audio_stream = Require(avformat_new_stream(muxer.get(), nullptr), "メモリが足りません");
  audio_stream->time_base = c->time_base;
  Check(avcodec_parameters_from_context(audio_stream->codecpar, c), "音声の設定を書けません");

  sound.reset(Require(av_frame_alloc(), "メモリが足りません"));
  sound->format = c->sample_fmt;
  sound->sample_rate = c->sample_rate;
  sound->nb_samples = c->frame_size;
  Check(av_channel_layout_copy(&sound->ch_layout, &c->ch_layout), "メモリが足りません");
  Check(av_frame_get_buffer(sound.get(), 0), "メモリが足りません");
}

void Mp4Writer::State::Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
  Check(avcodec_send_frame(codec, frame), "動画を符号化できません");
  for (;;) {
    const int result = avcodec_receive_packet(codec, packet.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    Check(result, "動画を符号化できません");
    av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    const int written = av_interleaved_write_frame(muxer.get(), packet.get());
    CheckWritten();
    Check(written, "動画ファイルに書き込めません");
  }
}

void Mp4Writer::State::CheckWritten() const {
  if (output.error != 0) {
    throw VideoError("動画ファイルに書き込めません (" + ErrnoText(output.error) + ")");
  }
  if (io != nullptr && io->error < 0) Check(io->error, "動画ファイルに書き込めません");
}

void Mp4Writer::State::EncodeSound(int frames) {
  Check(av_frame_make_writable(sound.get()), "メモリが足りません");
  sound->nb_samples = frames;
  std::copy_n(left.begin(), frames, reinterpret_cast<float*>(sound->data[0]));
  std::copy_n(right.begin(), frames, reinterpret_cast<float*>(sound->data[1]));
  left.erase(left.begin(), left.begin() + frames);
  right.erase(right.begin(), right.begin() + frames);
  sound->pts = audio_pts;
  audio_pts += frames;
  Encode(audio.get(), audio_stream, sound.get());
}

Mp4Writer::Mp4Writer(std::ostream& out, const Format& format) : state_(std::make_unique<State>()) {
  // FFmpeg's log is process-wide; the caller reports our own messages instead.
  av_log_set_level(AV_LOG_QUIET);
  State& s = *state_;
  s.format = format;
  s.output.out = &out;
  s.format.scale = std::clamp(format.scale, 1, 2);
  AVFormatContext* muxer = nullptr;
  Check(avformat_alloc_output_context2(&muxer, nullptr, "mp4", nullptr), "MP4 を書けません");
  s.muxer.reset(muxer);
  auto* buffer = static_cast<uint8_t*>(Require(av_malloc(kIoBufferSize), "メモリが足りません"));
  s.io.reset(
      avio_alloc_context(buffer, kIoBufferSize, 1, &s.output, nullptr, WriteToStream, SeekStream));
  if (!s.io) {
    av_free(buffer);
    throw VideoError("メモリが足りません");
  }
  muxer->pb = s.io.get();
  muxer->flags |= AVFMT_FLAG_CUSTOM_IO;
  s.packet.reset(Require(av_packet_alloc(), "メモリが足りません"));
  s.OpenVideo();
  s.OpenAudio();
  const int header = avformat_write_header(muxer, nullptr);
  s.CheckWritten();
  Check(header, "動画ファイルに書き込めません");
}

Mp4Writer::~Mp4Writer() = default;

void Mp4Writer::WriteVideo(const uint8_t* rgb) {
  State& s = *state_;
  const size_t size = size_t(s.format.width) * s.format.height * 3;
  if (s.video_pts == 0 || !std::equal(rgb, rgb + size, s.last.begin())) {
    s.last.assign(rgb, rgb + size);
    s.Convert(rgb);
  }
  s.picture->pts = s.video_pts++;
  s.Encode(s.video.get(), s.video_stream, s.picture.get());
}

void Mp4Writer::WriteAudio(const float* left, const float* right, int frames) {
  State& s = *state_;
  s.left.insert(s.left.end(), left, left + frames);
  s.right.insert(s.right.end(), right, right + frames);
  const int whole = s.audio->frame_size;
  while (static_cast<int>(s.left.size()) >= whole) s.EncodeSound(whole);
}

void Mp4Writer::Finish() {
  State& s = *state_;
  if (!s.left.empty()) {
    if (!(s.audio->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
      s.left.resize(s.audio->frame_size, 0.0f);
      s.right.resize(s.audio->frame_size, 0.0f);
    }
    s.EncodeSound(static_cast<int>(s.left.size()));
  }
  s.Encode(s.video.get(), s.video_stream, nullptr);
  s.Encode(s.audio.get(), s.audio_stream, nullptr);
  const int trailer = av_write_trailer(s.muxer.get());
  s.CheckWritten();
  Check(trailer, "動画ファイルに書き込めません");
  avio_flush(s.io.get());
  s.CheckWritten();
}
