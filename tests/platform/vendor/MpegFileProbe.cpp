#include "MpegFileProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <limits>

namespace rectest {

namespace {

struct Input {
  AVFormatContext* format = nullptr;
  explicit Input(const std::string& path) {
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) format = nullptr;
    if (format && avformat_find_stream_info(format, nullptr) < 0) avformat_close_input(&format);
  }
  ~Input() {
    if (format) avformat_close_input(&format);
  }
};

}  // namespace

MpegFileProbe::MpegFileProbe(const std::string& path) {
  Input input(path);
  if (!input.format) return;
  m_container = input.format->iformat->name;
  struct Span {
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
  };
  Span spans[2];
  int index[2] = {av_find_best_stream(input.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0),
                  av_find_best_stream(input.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0)};
  Stream* streams[2] = {&m_video, &m_audio};
  for (int i = 0; i < 2; ++i) {
    if (index[i] < 0) continue;
    const AVCodecParameters* codec = input.format->streams[index[i]]->codecpar;
    streams[i]->found = true;
    streams[i]->codec = avcodec_get_name(codec->codec_id);
    streams[i]->width = codec->width;
    streams[i]->height = codec->height;
    streams[i]->sampleRate = codec->sample_rate;
    streams[i]->channels = codec->ch_layout.nb_channels;
  }
  AVPacket* packet = av_packet_alloc();
  while (av_read_frame(input.format, packet) >= 0) {
    for (int i = 0; i < 2; ++i) {
      if (packet->stream_index != index[i]) continue;
      ++streams[i]->packets;
      streams[i]->bytes += packet->size;
      if (packet->pts == AV_NOPTS_VALUE) continue;
      spans[i].first = std::min(spans[i].first, packet->pts);
      spans[i].last = std::max(spans[i].last, packet->pts + packet->duration);
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  for (int i = 0; i < 2; ++i)
    if (streams[i]->packets) streams[i]->seconds = static_cast<double>(spans[i].last - spans[i].first) * av_q2d(input.format->streams[index[i]]->time_base);
  m_ok = true;
  decodeFirstPicture(path);
}

void MpegFileProbe::decodeFirstPicture(const std::string& path) {
  Input input(path);
  if (!input.format) return;
  const AVCodec* decoder = nullptr;
  const int stream = av_find_best_stream(input.format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (stream < 0 || !decoder) return;
  AVCodecContext* codec = avcodec_alloc_context3(decoder);
  avcodec_parameters_to_context(codec, input.format->streams[stream]->codecpar);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool decoded = avcodec_open2(codec, decoder, nullptr) < 0;  // nothing to decode with: give up
  while (!decoded && av_read_frame(input.format, packet) >= 0) {
    if (packet->stream_index == stream && avcodec_send_packet(codec, packet) >= 0)
      decoded = avcodec_receive_frame(codec, frame) >= 0;
    av_packet_unref(packet);
  }
  if (!decoded && avcodec_send_packet(codec, nullptr) >= 0) decoded = avcodec_receive_frame(codec, frame) >= 0;
  if (decoded && frame->format == AV_PIX_FMT_YUV420P) {
    for (int plane = 0; plane < 3; ++plane) {
      const int width = plane ? frame->width / 2 : frame->width;
      const int height = plane ? frame->height / 2 : frame->height;
      for (int row = 0; row < height; ++row)
        m_firstPicture.append(reinterpret_cast<const char*>(frame->data[plane] + row * frame->linesize[plane]), width);
    }
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
}

MpegFileProbe::Pixel MpegFileProbe::firstPicturePixel(int x, int y) const {
  const int width = m_video.width;
  const int height = m_video.height;
  if (m_firstPicture.size() != static_cast<size_t>(width * height * 3 / 2) || x < 0 || y < 0 || x >= width || y >= height)
    return {0, 0, 0};
  const size_t chroma = static_cast<size_t>(width / 2 * height / 2);
  const size_t at = static_cast<size_t>(y / 2 * (width / 2) + x / 2);
  const auto byte = [&](size_t offset) { return static_cast<std::uint8_t>(m_firstPicture[offset]); };
  const size_t luma = static_cast<size_t>(width * height);
  return {byte(static_cast<size_t>(y * width + x)), byte(luma + at), byte(luma + chroma + at)};
}

}  // namespace rectest
