#include "NumberedPicture.h"

#include <dshow/amvideo.h>
#include <dshow/control.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>

namespace dstest {

namespace {

constexpr int kBits = 8;
constexpr NumberedPicture::Rgb kWhite = {255, 255, 255};
constexpr NumberedPicture::Rgb kBlack = {0, 0, 0};
constexpr NumberedPicture::Rgb kBlue = {0, 0, 255};

constexpr AVRational kUnits = {1, 10'000'000};

// The colour at a fraction of a decoded picture, from its planar or packed YUV or BGR.
NumberedPicture::Rgb ColourOf(const AVFrame& frame, double fx, double fy) {
  const int x = std::clamp(static_cast<int>(fx * frame.width), 0, frame.width - 1);
  const int y = std::clamp(static_cast<int>(fy * frame.height), 0, frame.height - 1);
  const auto format = static_cast<AVPixelFormat>(frame.format);
  if (format == AV_PIX_FMT_BGR24) {
    const std::uint8_t* at = frame.data[0] + y * frame.linesize[0] + x * 3;
    return {at[2], at[1], at[0]};
  }
  if (format == AV_PIX_FMT_YUYV422) {
    const std::uint8_t* pair = frame.data[0] + y * frame.linesize[0] + (x & ~1) * 2;
    return NumberedPicture::fromYuv(pair[(x & 1) * 2], pair[1], pair[3]);
  }
  const AVPixFmtDescriptor* planar = av_pix_fmt_desc_get(format);
  const int cx = x >> planar->log2_chroma_w, cy = y >> planar->log2_chroma_h;
  return NumberedPicture::fromYuv(frame.data[0][y * frame.linesize[0] + x], frame.data[1][cy * frame.linesize[1] + cx],
                                  frame.data[2][cy * frame.linesize[2] + cx]);
}

struct Input {
  AVFormatContext* format = nullptr;
  explicit Input(const std::filesystem::path& file) {
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return;
    if (avformat_find_stream_info(format, nullptr) < 0) avformat_close_input(&format);
  }
  ~Input() { avformat_close_input(&format); }
};

int Clamp(double value) { return std::clamp(static_cast<int>(value + 0.5), 0, 255); }

}  // namespace

NumberedPicture::Rgb NumberedPicture::colourAt(int number, int x, int y, int width, int height) {
  if (y >= height / 2) return kBlue;
  const int bit = kBits - 1 - x * kBits / width;
  return (number >> bit) & 1 ? kWhite : kBlack;
}

int NumberedPicture::read(const std::function<Rgb(double fx, double fy)>& at) {
  const Rgb below = at(0.5, 0.75);
  if (below.b < 150 || below.r > 100 || below.g > 100) return -1;
  int number = 0;
  for (int i = 0; i < kBits; ++i) {
    const Rgb stripe = at((i + 0.5) / kBits, 0.25);
    const int light = (stripe.r + stripe.g + stripe.b) / 3;
    const bool grey = std::max({stripe.r, stripe.g, stripe.b}) - std::min({stripe.r, stripe.g, stripe.b}) < 60;
    if (!grey || (light > 85 && light < 170)) return -1;
    number = number * 2 + (light >= 170);
  }
  return number;
}

int NumberedPicture::read(const std::uint8_t* pixels, int width, int height, int bytesPerPixel, int stride,
                          bool bottomUp) {
  return read([&](double fx, double fy) {
    const int x = std::clamp(static_cast<int>(fx * width), 0, width - 1);
    const int y = std::clamp(static_cast<int>(fy * height), 0, height - 1);
    const std::uint8_t* at = pixels + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride + x * bytesPerPixel;
    return Rgb{at[2], at[1], at[0]};
  });
}

NumberedPicture::Rgb NumberedPicture::fromYuv(int y, int u, int v) {
  const double luma = 1.164 * (y - 16);
  return {Clamp(luma + 1.596 * (v - 128)), Clamp(luma - 0.392 * (u - 128) - 0.813 * (v - 128)),
          Clamp(luma + 2.017 * (u - 128))};
}

std::vector<int> NumberedPicture::numbersIn(const std::filesystem::path& file, int count) {
  std::vector<int> numbers;
  Input input(file);
  const AVCodec* decoder = nullptr;
  const int stream = input.format ? av_find_best_stream(input.format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0) : -1;
  if (stream < 0 || !decoder) return numbers;
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> codec(avcodec_alloc_context3(decoder),
                                                                  [](AVCodecContext* c) { avcodec_free_context(&c); });
  avcodec_parameters_to_context(codec.get(), input.format->streams[stream]->codecpar);
  if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return numbers;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  auto take = [&] {
    while (static_cast<int>(numbers.size()) < count && avcodec_receive_frame(codec.get(), frame) == 0)
      numbers.push_back(read([&](double fx, double fy) { return ColourOf(*frame, fx, fy); }));
  };
  while (static_cast<int>(numbers.size()) < count && av_read_frame(input.format, packet) >= 0) {
    if (packet->stream_index == stream && avcodec_send_packet(codec.get(), packet) >= 0) take();
    av_packet_unref(packet);
  }
  if (avcodec_send_packet(codec.get(), nullptr) >= 0) take();
  av_frame_free(&frame);
  av_packet_free(&packet);
  return numbers;
}

int NumberedPicture::read(IBasicVideo& video) {
  long size = 0;
  if (video.GetCurrentImage(&size, nullptr) != S_OK) return -2;
  std::vector<long> image(static_cast<size_t>(size + 3) / 4);
  video.GetCurrentImage(&size, image.data());
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
  const int bytes = header->biBitCount / 8;
  return read(reinterpret_cast<const std::uint8_t*>(header + 1), header->biWidth, std::abs(header->biHeight), bytes,
              (header->biWidth * bytes + 3) / 4 * 4, header->biHeight > 0);
}

std::int64_t NumberedPicture::firstPictureTime(const std::filesystem::path& file) {
  Input input(file);
  const int stream = input.format ? av_find_best_stream(input.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
  if (stream < 0) return 0;
  const AVStream& video = *input.format->streams[stream];
  const std::int64_t fileStart =
      input.format->start_time == AV_NOPTS_VALUE ? 0 : av_rescale_q(input.format->start_time, AV_TIME_BASE_Q, kUnits);
  return video.start_time == AV_NOPTS_VALUE ? 0 : av_rescale_q(video.start_time, video.time_base, kUnits) - fileStart;
}

int NumberedPicture::shownAt(std::int64_t time, int rateNum, int rateDen) {
  return static_cast<int>(time * rateNum / (static_cast<std::int64_t>(rateDen) * 10'000'000));
}

}  // namespace dstest
