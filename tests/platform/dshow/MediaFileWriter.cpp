#include "MediaFileWriter.h"

#include "NumberedPicture.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

namespace dstest {

namespace {

using ColourAt = std::function<MediaFileWriter::Colour(int picture, int x, int y)>;

// What one file holds: a video stream of `pictures` at `rate`, painted by `colourAt`, and
// sound of `seconds`; either may be left out (AV_CODEC_ID_NONE).
struct Spec {
  const char* container = nullptr;
  AVCodecID videoCodec = AV_CODEC_ID_NONE;
  AVPixelFormat pixels = AV_PIX_FMT_NONE;
  AVRational rate = {25, 1};
  int pictures = 0;
  int width = 0;
  int height = 0;
  bool bottomUp = false;  // RGB rows stored from the bottom
  ColourAt colourAt;
  AVCodecID audioCodec = AV_CODEC_ID_NONE;
  double seconds = 0;
};

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

std::uint8_t Byte(double value) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value + 0.5), 0, 255)); }

MediaFileWriter::Colour FromRgb(const NumberedPicture::Rgb& c) {
  return {Byte(16 + 0.257 * c.r + 0.504 * c.g + 0.098 * c.b), Byte(128 - 0.148 * c.r - 0.291 * c.g + 0.439 * c.b),
          Byte(128 + 0.439 * c.r - 0.368 * c.g - 0.071 * c.b)};
}

// Studio-range YUV as JPEG's full range.
MediaFileWriter::Colour FullRange(MediaFileWriter::Colour c) {
  return {Byte((c.y - 16) * 255.0 / 219), Byte((c.u - 128) * 255.0 / 224 + 128), Byte((c.v - 128) * 255.0 / 224 + 128)};
}

void paint(AVFrame& frame, int picture, const ColourAt& colourAt, bool bottomUp) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x) {
      MediaFileWriter::Colour c = colourAt(picture, x, y);
      if (format == AV_PIX_FMT_BGR24) {
        const NumberedPicture::Rgb rgb = NumberedPicture::fromYuv(c.y, c.u, c.v);
        std::uint8_t* at = frame.data[0] + (bottomUp ? frame.height - 1 - y : y) * frame.linesize[0] + x * 3;
        at[0] = static_cast<std::uint8_t>(rgb.b);
        at[1] = static_cast<std::uint8_t>(rgb.g);
        at[2] = static_cast<std::uint8_t>(rgb.r);
      } else if (format == AV_PIX_FMT_YUYV422) {
        std::uint8_t* at = frame.data[0] + y * frame.linesize[0] + x * 2;
        at[0] = static_cast<std::uint8_t>(c.y);
        at[1] = static_cast<std::uint8_t>(x % 2 ? c.v : c.u);
      } else {
        // Planar: 4:2:0, or JPEG's full-range 4:2:2.
        const bool jpeg = format == AV_PIX_FMT_YUVJ422P;
        if (jpeg) c = FullRange(c);
        frame.data[0][y * frame.linesize[0] + x] = static_cast<std::uint8_t>(c.y);
        if (x % 2 || (!jpeg && y % 2)) continue;
        const int row = jpeg ? y : y / 2;
        frame.data[1][row * frame.linesize[1] + x / 2] = static_cast<std::uint8_t>(c.u);
        frame.data[2][row * frame.linesize[2] + x / 2] = static_cast<std::uint8_t>(c.v);
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

bool openVideo(Output& out, const Spec& spec) {
  out.video = openEncoder(out, spec.videoCodec, out.videoStream, [&](AVCodecContext& c, const AVCodec&) {
    c.width = spec.width;
    c.height = spec.height;
    c.time_base = av_inv_q(spec.rate);
    c.framerate = spec.rate;
    const bool mpeg = spec.videoCodec == AV_CODEC_ID_MPEG2VIDEO;
    c.gop_size = mpeg ? 12 : 1;
    c.max_b_frames = mpeg ? 2 : 0;
    c.bit_rate = 2'000'000;
    c.pix_fmt = spec.pixels;
  });
  if (!out.video || spec.pixels != AV_PIX_FMT_BGR24) return out.video != nullptr;
  // RGB goes into an AVI as plain bitmap rows, which its muxer stores from the top unless
  // the stream says otherwise.
  AVCodecParameters& codec = *out.videoStream->codecpar;
  codec.codec_tag = 0;
  if (!spec.bottomUp) return true;
  static const char kBottomUp[] = "BottomUp";
  codec.extradata = static_cast<uint8_t*>(av_mallocz(sizeof kBottomUp + AV_INPUT_BUFFER_PADDING_SIZE));
  if (!codec.extradata) return false;
  std::memcpy(codec.extradata, kBottomUp, sizeof kBottomUp);
  codec.extradata_size = sizeof kBottomUp;
  return true;
}

bool openAudio(Output& out, const Spec& spec) {
  out.audio = openEncoder(out, spec.audioCodec, out.audioStream, [&](AVCodecContext& c, const AVCodec& codec) {
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
  return out.audio != nullptr;
}

bool writeFile(const std::filesystem::path& file, const Spec& spec) {
  Output out;
  if (avformat_alloc_output_context2(&out.format, nullptr, spec.container, file.c_str()) < 0) return false;
  const bool withVideo = spec.videoCodec != AV_CODEC_ID_NONE;
  const bool withSound = spec.audioCodec != AV_CODEC_ID_NONE;
  if (withVideo && !openVideo(out, spec)) return false;
  if (withSound && !openAudio(out, spec)) return false;
  if (avio_open(&out.format->pb, file.c_str(), AVIO_FLAG_WRITE) < 0) return false;
  if (avformat_write_header(out.format, nullptr) < 0) return false;

  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  const int pictures = withVideo ? spec.pictures : 0;
  const int64_t samples = withSound ? static_cast<int64_t>(spec.seconds * 44100) : 0;
  const int perFrame = withSound && out.audio->frame_size > 0 ? out.audio->frame_size : 1024;
  const double pictureRate = av_q2d(spec.rate);
  int picture = 0;
  int64_t sample = 0;
  while (picture < pictures || sample < samples) {
    // Whichever stream is behind goes next, so the file is interleaved.
    const bool videoNext = picture < pictures && (sample >= samples || picture / pictureRate <= sample / 44100.0);
    av_frame_unref(frame.get());
    if (videoNext) {
      frame->format = out.video->pix_fmt;
      frame->width = spec.width;
      frame->height = spec.height;
      if (av_frame_get_buffer(frame.get(), 0) < 0) return false;
      paint(*frame, picture, spec.colourAt, spec.bottomUp);
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
  if (withSound) send(out, out.audio, out.audioStream, nullptr);
  return av_write_trailer(out.format) == 0;
}

}  // namespace

bool MediaFileWriter::write(const std::filesystem::path& file, Kind kind, double seconds, int width, int height,
                            Colour colour) {
  const char* formats[] = {"vob", "avi", "mp3", "wav"};
  const AVCodecID sounds[] = {AV_CODEC_ID_MP2, AV_CODEC_ID_PCM_S16LE, AV_CODEC_ID_MP3, AV_CODEC_ID_PCM_S16LE};
  Spec spec;
  spec.container = formats[static_cast<int>(kind)];
  if (kind == Kind::MpegProgram || kind == Kind::Avi) {
    spec.videoCodec = kind == Kind::Avi ? AV_CODEC_ID_RAWVIDEO : AV_CODEC_ID_MPEG2VIDEO;
    spec.pixels = kind == Kind::Avi ? AV_PIX_FMT_YUYV422 : AV_PIX_FMT_YUV420P;
    spec.pictures = static_cast<int>(seconds * 25);
    spec.width = width;
    spec.height = height;
    spec.colourAt = [colour](int, int, int) { return colour; };
  }
  spec.audioCodec = sounds[static_cast<int>(kind)];
  spec.seconds = seconds;
  return writeFile(file, spec);
}

bool MediaFileWriter::writeSlides(const std::filesystem::path& file, int secondsEach, const std::vector<Colour>& pictures,
                                  int width, int height) {
  Spec spec;
  spec.container = "avi";
  spec.videoCodec = AV_CODEC_ID_RAWVIDEO;
  spec.pixels = AV_PIX_FMT_YUYV422;
  spec.rate = {1, secondsEach};
  spec.pictures = static_cast<int>(pictures.size());
  spec.width = width;
  spec.height = height;
  spec.colourAt = [&pictures](int picture, int, int) { return pictures[static_cast<size_t>(picture)]; };
  return writeFile(file, spec);
}

bool MediaFileWriter::writeNumbered(const std::filesystem::path& file, Coding coding, int frames, int rateNum,
                                    int rateDen, int width, int height) {
  Spec spec;
  spec.container = coding == Coding::Mpeg2 ? "vob" : "avi";
  spec.rate = {rateNum, rateDen};
  spec.pictures = frames;
  spec.width = width;
  spec.height = height;
  spec.colourAt = [width, height](int picture, int x, int y) {
    return FromRgb(NumberedPicture::colourAt(picture, x, y, width, height));
  };
  spec.seconds = frames * static_cast<double>(rateDen) / rateNum;
  switch (coding) {
    case Coding::Mpeg2:
      spec.videoCodec = AV_CODEC_ID_MPEG2VIDEO;
      spec.pixels = AV_PIX_FMT_YUV420P;
      spec.audioCodec = AV_CODEC_ID_MP2;
      break;
    case Coding::MjpegAvi:
      spec.videoCodec = AV_CODEC_ID_MJPEG;
      spec.pixels = AV_PIX_FMT_YUVJ422P;
      spec.audioCodec = AV_CODEC_ID_PCM_ALAW;
      break;
    case Coding::Yuy2Avi:
      spec.videoCodec = AV_CODEC_ID_RAWVIDEO;
      spec.pixels = AV_PIX_FMT_YUYV422;
      spec.audioCodec = AV_CODEC_ID_PCM_S16LE;
      break;
    case Coding::RgbTopDownAvi:
    case Coding::RgbBottomUpAvi:
      spec.videoCodec = AV_CODEC_ID_RAWVIDEO;
      spec.pixels = AV_PIX_FMT_BGR24;
      spec.bottomUp = coding == Coding::RgbBottomUpAvi;
      break;
  }
  return writeFile(file, spec);
}

int MediaFileWriter::storedHeight(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // The first stream format chunk after a video stream header: BITMAPINFOHEADER's height
  // follows its size and width.
  const size_t video = bytes.find("vids");
  const size_t format = video == std::string::npos ? video : bytes.find("strf", video);
  if (format == std::string::npos || format + 20 > bytes.size()) return 0;
  std::int32_t height = 0;
  std::memcpy(&height, bytes.data() + format + 16, 4);
  return height;
}

}  // namespace dstest
