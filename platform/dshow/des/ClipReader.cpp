#include <dshow/des/ClipReader.h>

#include <dshow/des/MediaTime.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

using MediaTime::kSecond;
using MediaTime::minus;
using MediaTime::plus;

constexpr AVRational kUnits = {1, 10000000};
// A picture counts as shown at a time from 10 µs before it: more than the rounding of
// times to a stream's time base and to whole units, so a cut from a picture's start
// begins with that picture, and far less than any frame, so a cut from a hair before it
// begins with the picture before, as the file's player shows them there.
constexpr std::int64_t kPictureSlack = 100;
// Reading more than this ahead of the last picture seeks instead of decoding on.
constexpr std::int64_t kFarAhead = 2 * kSecond;
// Pictures and sound beyond what a group carries come from a broken header: such a
// stream is taken as none, so no group is made with buffers of gigabytes.
constexpr int kLargestPicture = 4096;
constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 192000;

AVFormatContext* OpenFormat(const std::string& path) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return nullptr;
  if (avformat_find_stream_info(format, nullptr) < 0) {
    avformat_close_input(&format);
    return nullptr;
  }
  return format;
}

// The end of the file's last timed packet, from its first time: for files whose header
// gives no length (an AVI without its frame counts and index).
std::int64_t LastTime(AVFormatContext* format) {
  const std::int64_t origin =
      format->start_time != AV_NOPTS_VALUE ? av_rescale_q(format->start_time, AV_TIME_BASE_Q, kUnits) : 0;
  AVPacket* packet = av_packet_alloc();
  std::int64_t last = 0;
  while (packet && av_read_frame(format, packet) >= 0) {
    const std::int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (at != AV_NOPTS_VALUE) {
      const AVRational base = format->streams[packet->stream_index]->time_base;
      const std::int64_t end = av_rescale_q(plus(at, std::max<std::int64_t>(packet->duration, 0)), base, kUnits);
      last = std::max(last, minus(end, origin));
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  return last;
}

std::int16_t ToS16(float v) {
  v = std::clamp(v, -1.0f, 1.0f);
  return static_cast<std::int16_t>(v * 32767.0f);
}

}  // namespace

bool ClipReader::probe(const std::string& linuxPath, Info& info) {
  AVFormatContext* format = OpenFormat(linuxPath);
  if (!format) return false;
  info = Info{};
  const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video >= 0) {
    const AVStream* stream = format->streams[video];
    info.video = stream->codecpar->width >= 2 && stream->codecpar->height >= 1 &&
                 stream->codecpar->width <= kLargestPicture && stream->codecpar->height <= kLargestPicture;
    info.width = stream->codecpar->width;
    info.height = stream->codecpar->height;
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
      info.rateNum = rate.num;
      info.rateDen = rate.den;
    }
  }
  const int audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (audio >= 0) {
    const AVStream* stream = format->streams[audio];
    info.audio = stream->codecpar->sample_rate >= kLowestRate && stream->codecpar->sample_rate <= kHighestRate;
    info.sampleRate = stream->codecpar->sample_rate;
    info.channels = std::clamp(stream->codecpar->ch_layout.nb_channels, 1, 2);
  }
  if (format->duration != AV_NOPTS_VALUE) info.duration = av_rescale_q(format->duration, AV_TIME_BASE_Q, kUnits);
  if (info.duration <= 0) info.duration = LastTime(format);
  avformat_close_input(&format);
  return info.video || info.audio;
}

std::unique_ptr<ClipReader> ClipReader::open(const std::string& linuxPath, bool video) {
  std::unique_ptr<ClipReader> reader(new ClipReader);
  reader->m_format = OpenFormat(linuxPath);
  if (!reader->m_format) return nullptr;
  const AVCodec* codec = nullptr;
  reader->m_stream = av_find_best_stream(reader->m_format, video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO, -1, -1,
                                         &codec, 0);
  if (reader->m_stream < 0 || !codec) return nullptr;
  const AVStream* stream = reader->m_format->streams[reader->m_stream];
  reader->m_codec = avcodec_alloc_context3(codec);
  if (!reader->m_codec || avcodec_parameters_to_context(reader->m_codec, stream->codecpar) < 0) return nullptr;
  reader->m_codec->thread_count = video ? 2 : 1;
  if (avcodec_open2(reader->m_codec, codec, nullptr) < 0) return nullptr;
  reader->m_packet = av_packet_alloc();
  reader->m_current = av_frame_alloc();
  reader->m_next = av_frame_alloc();
  if (!reader->m_packet || !reader->m_current || !reader->m_next) return nullptr;
  if (reader->m_format->start_time != AV_NOPTS_VALUE)
    reader->m_origin = av_rescale_q(reader->m_format->start_time, AV_TIME_BASE_Q, stream->time_base);
  else if (stream->start_time != AV_NOPTS_VALUE)
    reader->m_origin = stream->start_time;
  return reader;
}

ClipReader::~ClipReader() {
  sws_freeContext(m_scaler);
  sws_freeContext(m_packer);
  av_frame_free(&m_current);
  av_frame_free(&m_next);
  av_packet_free(&m_packet);
  avcodec_free_context(&m_codec);
  if (m_format) avformat_close_input(&m_format);
}

std::int64_t ClipReader::timeOf(const AVFrame& frame) const {
  std::int64_t pts = frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : frame.pts;
  if (pts == AV_NOPTS_VALUE) return 0;
  return av_rescale_q(minus(pts, m_origin), m_format->streams[m_stream]->time_base, kUnits);
}

bool ClipReader::seek(std::int64_t time) {
  // Containers seek by estimates: a landing after the wanted time is tried again further back.
  for (const std::int64_t back : {kSecond, 4 * kSecond, 16 * kSecond}) {
    const std::int64_t target = std::max<std::int64_t>(time - back, 0);
    const std::int64_t ts = plus(m_origin, av_rescale_q(target, kUnits, m_format->streams[m_stream]->time_base));
    if (av_seek_frame(m_format, m_stream, ts, AVSEEK_FLAG_BACKWARD) < 0) break;
    restart();
    if (!decode(m_next)) return false;
    m_hasNext = true;
    if (timeOf(*m_next) <= plus(time, kPictureSlack) || target == 0) return true;
  }
  // From the start of the file, which is never after anything.
  av_seek_frame(m_format, m_stream, m_origin, AVSEEK_FLAG_BACKWARD);
  restart();
  m_hasNext = decode(m_next);
  return m_hasNext;
}

void ClipReader::restart() {
  avcodec_flush_buffers(m_codec);
  av_frame_unref(m_next);
  m_hasCurrent = m_hasNext = m_ended = false;
  m_shownTime = -1;
  m_sound.clear();
  m_soundFirst = -1;
}

bool ClipReader::decode(AVFrame* frame) {
  for (;;) {
    const int got = avcodec_receive_frame(m_codec, frame);
    if (got == 0) {
      // Pictures before the first key frame after a seek have nothing to build on.
      if (m_codec->codec_type == AVMEDIA_TYPE_VIDEO && !m_hasCurrent && !m_hasNext && !frame->key_frame) {
        av_frame_unref(frame);
        continue;
      }
      return true;
    }
    if (got != AVERROR(EAGAIN) || m_ended) return false;
    const int read = av_read_frame(m_format, m_packet);
    if (read < 0) {
      m_ended = true;
      avcodec_send_packet(m_codec, nullptr);
      continue;
    }
    if (m_packet->stream_index == m_stream) avcodec_send_packet(m_codec, m_packet);
    av_packet_unref(m_packet);
  }
}

bool ClipReader::picture(std::int64_t time, int width, int height, BYTE* out) {
  const std::int64_t shown = m_hasCurrent ? timeOf(*m_current) : -1;
  const bool fresh = !m_hasCurrent && !m_hasNext;
  if ((fresh && time > kSecond) || (!fresh && shown >= 0 && (plus(time, kPictureSlack) < shown || time > plus(shown, kFarAhead))))
    seek(time);
  for (;;) {
    if (!m_hasNext) {
      av_frame_unref(m_next);
      if (!decode(m_next)) break;
      m_hasNext = true;
    }
    if (m_hasCurrent && timeOf(*m_next) > plus(time, kPictureSlack)) break;
    std::swap(m_current, m_next);
    m_hasCurrent = true;
    m_hasNext = false;
  }
  if (!m_hasCurrent) return false;
  const std::int64_t current = timeOf(*m_current);
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
  if (current != m_shownTime || m_converted.size() != bytes) {
    m_converted.resize(bytes);
    if (!convert(*m_current, width, height)) return false;
    m_shownTime = current;
  }
  std::memcpy(out, m_converted.data(), bytes);
  return true;
}

bool ClipReader::convert(const AVFrame& frame, int width, int height) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const bool sameSize = frame.width == width && frame.height == height;
  uint8_t* packed[4] = {m_converted.data(), nullptr, nullptr, nullptr};
  int packedStrides[4] = {width * 2, 0, 0, 0};
  if (sameSize || format != AV_PIX_FMT_YUV420P) {
    // A picture of the group's own size is only repacked, never filtered.
    m_scaler = sws_getCachedContext(m_scaler, frame.width, frame.height, format, width, height, AV_PIX_FMT_YUYV422,
                                    sameSize ? SWS_POINT : SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_scaler) return false;
    sws_scale(m_scaler, frame.data, frame.linesize, 0, frame.height, packed, packedStrides);
    return true;
  }
  // A 4:2:0 picture of another size is scaled as 4:2:0 and then repacked: its chroma is
  // scaled once at half height instead of filtered up to YUY2's full height, which costs
  // half as much again, and an encoder takes the picture back to 4:2:0 anyway.
  const int chromaWidth = (width + 1) / 2;
  const int chromaHeight = (height + 1) / 2;
  m_scaled.resize(static_cast<size_t>(width) * height + 2 * static_cast<size_t>(chromaWidth) * chromaHeight);
  uint8_t* planes[4] = {m_scaled.data(), m_scaled.data() + static_cast<size_t>(width) * height,
                        m_scaled.data() + static_cast<size_t>(width) * height + static_cast<size_t>(chromaWidth) * chromaHeight,
                        nullptr};
  int strides[4] = {width, chromaWidth, chromaWidth, 0};
  m_scaler = sws_getCachedContext(m_scaler, frame.width, frame.height, format, width, height, AV_PIX_FMT_YUV420P,
                                  SWS_BILINEAR, nullptr, nullptr, nullptr);
  m_packer = sws_getCachedContext(m_packer, width, height, AV_PIX_FMT_YUV420P, width, height, AV_PIX_FMT_YUYV422,
                                  SWS_POINT, nullptr, nullptr, nullptr);
  if (!m_scaler || !m_packer) return false;
  sws_scale(m_scaler, frame.data, frame.linesize, 0, frame.height, planes, strides);
  sws_scale(m_packer, planes, strides, 0, height, packed, packedStrides);
  return true;
}

void ClipReader::takeSound(const AVFrame& frame, int channels) {
  const int from = frame.ch_layout.nb_channels;
  if (from <= 0) return;
  const size_t base = m_sound.size();
  m_sound.resize(base + static_cast<size_t>(frame.nb_samples) * static_cast<size_t>(channels), 0);
  std::int16_t* out = m_sound.data() + base;
  const auto format = static_cast<AVSampleFormat>(frame.format);
  for (int i = 0; i < frame.nb_samples; ++i) {
    for (int c = 0; c < channels; ++c) {
      const int src = std::min(c, from - 1);
      std::int16_t value = 0;
      switch (format) {
        case AV_SAMPLE_FMT_S16: value = reinterpret_cast<const std::int16_t*>(frame.data[0])[i * from + src]; break;
        case AV_SAMPLE_FMT_S16P: value = reinterpret_cast<const std::int16_t*>(frame.data[src])[i]; break;
        case AV_SAMPLE_FMT_FLT: value = ToS16(reinterpret_cast<const float*>(frame.data[0])[i * from + src]); break;
        case AV_SAMPLE_FMT_FLTP: value = ToS16(reinterpret_cast<const float*>(frame.data[src])[i]); break;
        default: break;
      }
      out[static_cast<size_t>(i) * static_cast<size_t>(channels) + static_cast<size_t>(c)] = value;
    }
  }
}

void ClipReader::sound(std::int64_t first, int count, int rate, int channels, std::int16_t* out) {
  const auto stored = [&] { return static_cast<std::int64_t>(m_sound.size()) / channels; };
  const bool behind = m_soundFirst >= 0 && first < m_soundFirst;
  const bool farAhead = m_soundFirst >= 0 && first > plus(plus(m_soundFirst, stored()), rate);
  if (behind || farAhead || (m_soundFirst < 0 && first > rate)) seek(MediaTime::fromSamples(first, rate));
  while (m_soundFirst < 0 || plus(m_soundFirst, stored()) < plus(first, count)) {
    // A seek leaves its first frame decoded.
    if (!m_hasNext) {
      av_frame_unref(m_next);
      if (!decode(m_next)) break;
    }
    m_hasNext = false;
    if (m_soundFirst < 0) m_soundFirst = MediaTime::toSamples(timeOf(*m_next), rate);
    takeSound(*m_next, channels);
  }
  for (int i = 0; i < count; ++i) {
    const std::int64_t at = minus(first + i, m_soundFirst);
    for (int c = 0; c < channels; ++c) {
      const bool have = m_soundFirst >= 0 && at >= 0 && at < stored();
      out[i * channels + c] = have ? m_sound[static_cast<size_t>(at * channels + c)] : 0;
    }
  }
  // What lies before this read is not needed again.
  const std::int64_t used = std::clamp<std::int64_t>(minus(first, m_soundFirst), 0, stored());
  if (m_soundFirst >= 0 && used > 0) {
    m_sound.erase(m_sound.begin(), m_sound.begin() + static_cast<std::ptrdiff_t>(used * channels));
    m_soundFirst += used;
  }
}

}  // namespace plat
