#include <dshow/filters/Demuxer.h>

#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace plat {

namespace {

constexpr AVRational kUnits = {1, 10'000'000};
constexpr REFERENCE_TIME kStepBack = 10'000'000;  // longer than a group of pictures

// A time of the file in a stream's time base, rounded down: a position a hair before a
// picture's start still shows the picture before it.
std::int64_t streamTime(REFERENCE_TIME time, AVRational base) { return av_rescale_q_rnd(time, kUnits, base, AV_ROUND_DOWN); }

bool rowsFromTheBottom(const AVCodecParameters& codec) {
  constexpr std::string_view kMark("BottomUp", 9);  // with its terminator
  const auto size = static_cast<size_t>(std::max(codec.extradata_size, 0));
  return codec.extradata && size >= kMark.size() &&
         std::string_view(reinterpret_cast<const char*>(codec.extradata) + size - kMark.size(), kMark.size()) == kMark;
}

std::optional<CMediaType> videoType(const AVStream& stream) {
  const AVCodecParameters& codec = *stream.codecpar;
  CMediaType type(&MEDIATYPE_Video);
  VIDEOINFOHEADER info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = codec.width;
  info.bmiHeader.biHeight = codec.height;
  info.bmiHeader.biPlanes = 1;
  if (stream.avg_frame_rate.num > 0) info.AvgTimePerFrame = av_rescale_q(1, av_inv_q(stream.avg_frame_rate), kUnits);
  if (codec.codec_id == AV_CODEC_ID_MPEG1VIDEO || codec.codec_id == AV_CODEC_ID_MPEG2VIDEO) {
    type.SetSubtype(codec.codec_id == AV_CODEC_ID_MPEG1VIDEO ? &MEDIASUBTYPE_MPEG1Payload : &MEDIASUBTYPE_MPEG2_VIDEO);
    type.SetTemporalCompression(TRUE);
    type.SetVariableSize();
  } else if (codec.codec_id == AV_CODEC_ID_MJPEG) {
    // Every picture a JPEG of its own, rows from the top whatever the stored height says.
    type.SetSubtype(&MEDIASUBTYPE_MJPG);
    info.bmiHeader.biCompression = MAKEFOURCC('M', 'J', 'P', 'G');
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(codec.width) * static_cast<DWORD>(codec.height) * 3;
    type.SetVariableSize();
  } else if (codec.codec_id == AV_CODEC_ID_RAWVIDEO) {
    const auto format = static_cast<AVPixelFormat>(codec.format);
    if (format == AV_PIX_FMT_YUYV422) {
      type.SetSubtype(&MEDIASUBTYPE_YUY2);
      info.bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
      info.bmiHeader.biBitCount = 16;
    } else if (format == AV_PIX_FMT_BGR24 || format == AV_PIX_FMT_BGRA || format == AV_PIX_FMT_BGR0) {
      const bool rgb24 = format == AV_PIX_FMT_BGR24;
      type.SetSubtype(rgb24 ? &MEDIASUBTYPE_RGB24 : &MEDIASUBTYPE_RGB32);
      info.bmiHeader.biCompression = BI_RGB;
      info.bmiHeader.biBitCount = rgb24 ? 24 : 32;
      // Bitmap rows run from the bottom unless stored with a negative height; libavformat
      // keeps the height's size only and marks rows from the bottom as its decoder's own
      // "BottomUp" extra data.
      if (!rowsFromTheBottom(codec)) info.bmiHeader.biHeight = -codec.height;
    } else {
      return std::nullopt;
    }
    info.bmiHeader.biSizeImage = (codec.width * info.bmiHeader.biBitCount / 8 + 3) / 4 * 4 * codec.height;
    type.SetSampleSize(info.bmiHeader.biSizeImage);
  } else {
    return std::nullopt;
  }
  if (codec.width <= 0 || codec.height <= 0) return std::nullopt;
  type.SetFormatType(&FORMAT_VideoInfo);
  type.SetFormat(reinterpret_cast<const BYTE*>(&info), sizeof(info));
  return type;
}

std::optional<CMediaType> audioType(const AVCodecParameters& codec) {
  CMediaType type(&MEDIATYPE_Audio);
  type.SetVariableSize();  // packets of any length
  WAVEFORMATEX wave{};
  wave.nChannels = static_cast<WORD>(codec.ch_layout.nb_channels);
  wave.nSamplesPerSec = static_cast<DWORD>(codec.sample_rate);
  if (codec.codec_id == AV_CODEC_ID_PCM_S16LE) {
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = static_cast<WORD>(wave.nChannels * 2);
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  } else if (codec.codec_id == AV_CODEC_ID_PCM_ALAW) {
    type.SetSubtype(&MEDIASUBTYPE_ALAW);
    wave.wFormatTag = WAVE_FORMAT_ALAW;
    wave.wBitsPerSample = 8;
    wave.nBlockAlign = wave.nChannels;
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  } else if (codec.codec_id == AV_CODEC_ID_MP1 || codec.codec_id == AV_CODEC_ID_MP2 || codec.codec_id == AV_CODEC_ID_MP3) {
    const bool mp3 = codec.codec_id == AV_CODEC_ID_MP3;
    type.SetSubtype(mp3 ? &MEDIASUBTYPE_MP3 : &MEDIASUBTYPE_MPEG1AudioPayload);
    wave.wFormatTag = mp3 ? 0x55 : 0x50;
    wave.nBlockAlign = 1;
    wave.nAvgBytesPerSec = static_cast<DWORD>(codec.bit_rate / 8);
  } else {
    return std::nullopt;
  }
  if (wave.nChannels == 0 || wave.nSamplesPerSec == 0) return std::nullopt;
  type.SetFormatType(&FORMAT_WaveFormatEx);
  type.SetFormat(reinterpret_cast<const BYTE*>(&wave), sizeof(wave));
  return type;
}

}  // namespace

Demuxer::Demuxer(IAsyncReader* reader) : m_io(reader) {}

Demuxer::~Demuxer() {
  av_packet_free(&m_packet);
  avformat_close_input(&m_format);
}

HRESULT Demuxer::open() {
  if (!m_io.context()) return E_OUTOFMEMORY;
  m_format = avformat_alloc_context();
  m_packet = av_packet_alloc();
  if (!m_format || !m_packet) return E_OUTOFMEMORY;
  m_format->pb = m_io.context();
  // On failure avformat_open_input frees the context itself.
  if (avformat_open_input(&m_format, nullptr, nullptr, nullptr) < 0) return VFW_E_UNSUPPORTED_STREAM;
  if (avformat_find_stream_info(m_format, nullptr) < 0) return VFW_E_UNSUPPORTED_STREAM;
  // MPEG files have no index to seek by (AVI files do).
  const std::string_view container = m_format->iformat->name;
  const bool unindexed = container == "mpeg" || container == "mpegvideo";
  for (unsigned i = 0; i < m_format->nb_streams; ++i) {
    const AVStream& stream = *m_format->streams[i];
    const bool video = stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    auto type = video ? videoType(stream)
                      : stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? audioType(*stream.codecpar) : std::nullopt;
    if (!type) continue;
    m_streams.push_back({static_cast<int>(i), *type, video});
    const AVCodecID codec = stream.codecpar->codec_id;
    if (unindexed && m_keyStream < 0 && (codec == AV_CODEC_ID_MPEG1VIDEO || codec == AV_CODEC_ID_MPEG2VIDEO))
      m_keyStream = static_cast<int>(i);
  }
  if (m_streams.empty()) return VFW_E_UNSUPPORTED_STREAM;
  if (m_format->start_time != AV_NOPTS_VALUE) m_origin = av_rescale_q(m_format->start_time, AV_TIME_BASE_Q, kUnits);
  if (m_format->duration != AV_NOPTS_VALUE) m_duration = av_rescale_q(m_format->duration, AV_TIME_BASE_Q, kUnits);
  return S_OK;
}

REFERENCE_TIME Demuxer::toUnits(std::int64_t timestamp, int stream) const {
  return av_rescale_q(timestamp, m_format->streams[stream]->time_base, kUnits) - m_origin;
}

bool Demuxer::read(Packet& packet) {
  for (;;) {
    av_packet_unref(m_packet);
    if (av_read_frame(m_format, m_packet) < 0) return false;
    if (!m_awaitKey || m_packet->stream_index != m_keyStream) break;
    if (m_packet->flags & AV_PKT_FLAG_KEY) {
      m_awaitKey = false;
      break;
    }
  }
  // The bytes leave with the packet; the demuxer's own AVPacket lets go of them.
  if (av_packet_make_refcounted(m_packet) < 0) return false;
  packet.stream = m_packet->stream_index;
  packet.data = m_packet->data;
  packet.size = m_packet->size;
  packet.bytes = PacketBytes(std::exchange(m_packet->buf, nullptr));
  packet.key = (m_packet->flags & AV_PKT_FLAG_KEY) != 0;
  packet.timed = m_packet->pts != AV_NOPTS_VALUE;
  if (packet.timed) {
    packet.start = toUnits(m_packet->pts, packet.stream);
    packet.stop = packet.start + av_rescale_q(m_packet->duration, m_format->streams[packet.stream]->time_base, kUnits);
  }
  return true;
}

// Program streams have no index: the container's seek lands on whatever picture has a
// decoding time at or before the target, often the P-picture after the key frame, and
// the decoder then shows nothing until the next group. So the key frame is looked for
// from a second before (further back while none is found), and reading resumes just
// before it.
HRESULT Demuxer::seek(REFERENCE_TIME position) {
  av_packet_unref(m_packet);
  if (m_keyStream < 0) {
    // In the stream's own time base: libavformat would round a time in microseconds to
    // its nearest picture, the one after the position when that is nearer.
    const int stream = av_find_default_stream_index(m_format);
    const std::int64_t target = streamTime(position + m_origin, m_format->streams[stream]->time_base);
    return avformat_seek_file(m_format, stream, INT64_MIN, target, target, 0) >= 0 ? S_OK : E_FAIL;
  }
  m_awaitKey = true;
  const AVRational base = m_format->streams[m_keyStream]->time_base;
  const std::int64_t until = streamTime(position + m_origin, base);
  for (REFERENCE_TIME back = kStepBack; position - back > 0; back *= 2) {
    if (!seekVideo(streamTime(position - back + m_origin, base))) break;
    const std::int64_t key = lastKeyFrame(until);
    if (key != AV_NOPTS_VALUE) return seekVideo(key - 1) ? S_OK : rewind();
  }
  return rewind();
}

// The file's first picture is its first key frame.
HRESULT Demuxer::rewind() { return av_seek_frame(m_format, -1, 0, AVSEEK_FLAG_BYTE) >= 0 ? S_OK : E_FAIL; }

// To the last packet of the key stream decoded at or before the time (its time base).
bool Demuxer::seekVideo(std::int64_t timestamp) {
  return avformat_seek_file(m_format, m_keyStream, INT64_MIN, timestamp, timestamp, 0) >= 0;
}

// Reading on until the key stream's decoding passes `until`: the decoding time of the
// last key frame shown at or before it, or AV_NOPTS_VALUE when none was read. A key
// frame without a time of its own may be shown after `until` (it is decoded ahead of
// the B-pictures before it), so it does not count.
std::int64_t Demuxer::lastKeyFrame(std::int64_t until) {
  std::int64_t found = AV_NOPTS_VALUE;
  while (av_read_frame(m_format, m_packet) >= 0) {
    const AVPacket& read = *m_packet;
    const std::int64_t decoded = read.dts != AV_NOPTS_VALUE ? read.dts : read.pts;
    const bool key = (read.flags & AV_PKT_FLAG_KEY) != 0 && read.pts != AV_NOPTS_VALUE && read.pts <= until;
    const bool ours = read.stream_index == m_keyStream && decoded != AV_NOPTS_VALUE;
    av_packet_unref(m_packet);
    if (!ours) continue;
    if (decoded > until) break;
    if (key) found = decoded;
  }
  return found;
}

}  // namespace plat
