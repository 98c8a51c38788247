#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

// What the tests read back from a video file with FFmpeg's own demuxer and decoders.
struct Mp4Contents {
  double duration_seconds = 0;
  std::string video_codec, audio_codec;
  int width = 0, height = 0, channels = 0;
  int video_frames = 0;
  double audio_seconds = 0;
  float audio_peak = 0;
  std::vector<uint8_t> rgb;  // the frame `wanted_frame`, decoded and converted to RGB888
};

inline Mp4Contents ReadMp4(const std::string& path, int64_t wanted_frame) {
  Mp4Contents contents;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
    throw std::runtime_error("cannot open " + path);
  }
  avformat_find_stream_info(format, nullptr);
  contents.duration_seconds = double(format->duration) / AV_TIME_BASE;
  std::vector<AVCodecContext*> decoders(format->nb_streams, nullptr);
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters* parameters = format->streams[i]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    decoders[i] = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoders[i], parameters);
    avcodec_open2(decoders[i], codec, nullptr);
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
      contents.video_codec = codec->name;
      contents.width = parameters->width;
      contents.height = parameters->height;
    } else if (parameters->codec_type == AVMEDIA_TYPE_AUDIO) {
      contents.audio_codec = codec->name;
      contents.channels = parameters->ch_layout.nb_channels;
    }
  }
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  auto drain = [&](AVCodecContext* decoder) {
    while (avcodec_receive_frame(decoder, frame) == 0) {
      if (decoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (contents.video_frames++ == wanted_frame) {
          SwsContext* scaler = sws_getContext(
              frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
              frame->height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
          const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
          sws_setColorspaceDetails(scaler, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
          contents.rgb.resize(size_t(frame->width) * frame->height * 3);
          uint8_t* planes[1] = {contents.rgb.data()};
          const int strides[1] = {frame->width * 3};
          sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
          sws_freeContext(scaler);
        }
      } else {
        contents.audio_seconds += double(frame->nb_samples) / frame->sample_rate;
        for (int c = 0; c < frame->ch_layout.nb_channels; ++c) {
          const auto* samples = reinterpret_cast<const float*>(frame->data[c]);
          for (int i = 0; i < frame->nb_samples; ++i) {
            contents.audio_peak = std::max(contents.audio_peak, std::fabs(samples[i]));
          }
        }
      }
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    AVCodecContext* decoder = decoders[packet->stream_index];
    avcodec_send_packet(decoder, packet);
    av_packet_unref(packet);
    drain(decoder);
  }
  for (AVCodecContext* decoder : decoders) {
    avcodec_send_packet(decoder, nullptr);
    drain(decoder);
    avcodec_free_context(&decoder);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avformat_close_input(&format);
  return contents;
}
