#include "MediaFileWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <cmath>
#include <memory>

namespace dstest {

namespace {

struct Output {
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* videoStream = nullptr;
  AVStream* audioStream = nullptr;
  ~Output() {
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    if (format) {
      if (format->pb) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }
};

AVCodecContext* openEncoder(Output& out, AVCodecID id, AVStream*& stream, auto&& configure) {
  const AVCodec* codec = avcodec_find_encoder(id);
  if (!codec) return nullptr;
  AVCodecContext* context = avcodec_alloc_context3(codec);
  configure(*context, *codec);
  if (out.format->oformat->flags & AVFMT_GLOBALHEADER) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(context, codec, nullptr) < 0) {
    avcodec_free_context(&context);
    return nullptr;
  }
  stream = avformat_new_stream(out.format, nullptr);
  avcodec_parameters_from_context(stream->codecpar, context);
  stream->time_base = context->time_base;
  return context;
}

bool send(Output& out, AVCodecContext* context, AVStream* stream, AVFrame* frame) {
  if (avcodec_send_frame(context, frame) < 0) return false;
  AVPacket* packet = av_packet_alloc();
  while (avcodec_receive_packet(context, packet) == 0) {
    av_packet_rescale_ts(packet, context->time_base, stream->time_base);
    packet->stream_index = stream->index;
    av_interleaved_write_frame(out.format, packet);
  }
  av_packet_free(&packet);
  return true;
}

void paint(AVFrame& frame, MediaFileWriter::Colour colour) {
  if (frame.format == AV_PIX_FMT_YUYV422) {
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; x += 2) {
        uint8_t* at = frame.data[0] + y * frame.linesize[0] + x * 2;
        at[0] = at[2] = static_cast<uint8_t>(colour.y);
        at[1] = static_cast<uint8_t>(colour.u);
        at[3] = static_cast<uint8_t>(colour.v);
      }
    return;
  }
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) frame.data[0][y * frame.linesize[0] + x] = static_cast<uint8_t>(colour.y);
    if (y < frame.height / 2)
      for (int x = 0; x < frame.width / 2; ++x) {
        frame.data[1][y * frame.linesize[1] + x] = static_cast<uint8_t>(colour.u);
        frame.data[2][y * frame.linesize[2] + x] = static_cast<uint8_t>(colour.v);
      }
  }
}

// A 440 Hz tone at half scale, from sample `first` on.
void tone(AVFrame& frame, int64_t first) {
  const int channels = frame.ch_layout.nb_channels;
  for (int i = 0; i < frame.nb_samples; ++i) {
    const float value = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * static_cast<double>(first + i) / frame.sample_rate));
    const auto pcm = static_cast<int16_t>(value * 32767);
    for (int c = 0; c < channels; ++c) {
      switch (frame.format) {
        case AV_SAMPLE_FMT_S16: reinterpret_cast<int16_t*>(frame.data[0])[i * channels + c] = pcm; break;
        case AV_SAMPLE_FMT_S16P: reinterpret_cast<int16_t*>(frame.data[c])[i] = pcm; break;
        case AV_SAMPLE_FMT_FLTP: reinterpret_cast<float*>(frame.data[c])[i] = value; break;
        case AV_SAMPLE_FMT_FLT: reinterpret_cast<float*>(frame.data[0])[i * channels + c] = value; break;
        default: break;
      }
    }
  }
}

}  // namespace

bool MediaFileWriter::write(const std::filesystem::path& file, Kind kind, double seconds, int width, int height,
                            Colour colour) {
  const char* formats[] = {"vob", "avi", "mp3", "wav"};
  Output out;
  if (avformat_alloc_output_context2(&out.format, nullptr, formats[static_cast<int>(kind)], file.c_str()) < 0) return false;
  const bool withVideo = kind == Kind::MpegProgram || kind == Kind::Avi;
  const AVCodecID audioCodec = kind == Kind::MpegProgram ? AV_CODEC_ID_MP2
                               : kind == Kind::Mp3       ? AV_CODEC_ID_MP3
                                                         : AV_CODEC_ID_PCM_S16LE;
  if (withVideo) {
    out.video = openEncoder(out, kind == Kind::Avi ? AV_CODEC_ID_RAWVIDEO : AV_CODEC_ID_MPEG2VIDEO, out.videoStream,
                            [&](AVCodecContext& c, const AVCodec&) {
                              c.width = width;
                              c.height = height;
                              c.time_base = {1, 25};
                              c.framerate = {25, 1};
                              c.gop_size = 12;
                              c.max_b_frames = 2;
                              c.bit_rate = 2'000'000;
                              c.pix_fmt = kind == Kind::Avi ? AV_PIX_FMT_YUYV422 : AV_PIX_FMT_YUV420P;
                            });
    if (!out.video) return false;
  }
  out.audio = openEncoder(out, audioCodec, out.audioStream, [&](AVCodecContext& c, const AVCodec& codec) {
    c.sample_rate = 44100;
    c.time_base = {1, 44100};
    c.bit_rate = 128'000;
    av_channel_layout_default(&c.ch_layout, 2);
    c.sample_fmt = AV_SAMPLE_FMT_S16;
    // The first layout the encoder takes that `tone` writes.
    for (const AVSampleFormat* f = codec.sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
      if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P || *f == AV_SAMPLE_FMT_FLT || *f == AV_SAMPLE_FMT_FLTP) {
        c.sample_fmt = *f;
        break;
      }
  });
  if (!out.audio) return false;
  if (avio_open(&out.format->pb, file.c_str(), AVIO_FLAG_WRITE) < 0) return false;
  if (avformat_write_header(out.format, nullptr) < 0) return false;

  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  const int pictures = withVideo ? static_cast<int>(seconds * 25) : 0;
  const int64_t samples = static_cast<int64_t>(seconds * 44100);
  const int perFrame = out.audio->frame_size > 0 ? out.audio->frame_size : 1024;
  int picture = 0;
  int64_t sample = 0;
  while (picture < pictures || sample < samples) {
    // Whichever stream is behind goes next, so the file is interleaved.
    const bool videoNext = withVideo && picture < pictures && (sample >= samples || picture / 25.0 <= sample / 44100.0);
    av_frame_unref(frame.get());
    if (videoNext) {
      frame->format = out.video->pix_fmt;
      frame->width = width;
      frame->height = height;
      if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
      paint(*frame, colour);
      frame->pts = picture++;
      if (!send(out, out.video, out.videoStream, frame.get())) return false;
    } else {
      frame->format = out.audio->sample_fmt;
      frame->sample_rate = 44100;
      av_channel_layout_copy(&frame->ch_layout, &out.audio->ch_layout);
      frame->nb_samples = perFrame;
      if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
      tone(*frame, sample);
      frame->pts = sample;
      sample += perFrame;
      if (!send(out, out.audio, out.audioStream, frame.get())) return false;
    }
  }
  if (withVideo) send(out, out.video, out.videoStream, nullptr);
  send(out, out.audio, out.audioStream, nullptr);
  return av_write_trailer(out.format) == 0;
}

bool MediaFileWriter::writeSlides(const std::filesystem::path& file, int secondsEach, const std::vector<Colour>& pictures,
                                  int width, int height) {
  Output out;
  if (avformat_alloc_output_context2(&out.format, nullptr, "avi", file.c_str()) < 0) return false;
  out.video = openEncoder(out, AV_CODEC_ID_RAWVIDEO, out.videoStream, [&](AVCodecContext& c, const AVCodec&) {
    c.width = width;
    c.height = height;
    c.time_base = {secondsEach, 1};
    c.framerate = {1, secondsEach};
    c.pix_fmt = AV_PIX_FMT_YUYV422;
  });
  if (!out.video || avio_open(&out.format->pb, file.c_str(), AVIO_FLAG_WRITE) < 0 ||
      avformat_write_header(out.format, nullptr) < 0)
    return false;
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  for (size_t i = 0; i < pictures.size(); ++i) {
    av_frame_unref(frame.get());
    frame->format = AV_PIX_FMT_YUYV422;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
    paint(*frame, pictures[i]);
    frame->pts = static_cast<int64_t>(i);
    if (!send(out, out.video, out.videoStream, frame.get())) return false;
  }
  send(out, out.video, out.videoStream, nullptr);
  return av_write_trailer(out.format) == 0;
}

}  // namespace dstest
