#include "MpegFileWriter.h"

#include <machine/Log.h>
#include <machine/StreamActivity.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace plat {

namespace {

constexpr double kUnitsPerSecond = 1e7;

// Slice threads for the video encoder: one per core, up to a number past which the
// slices of a standard-definition picture (36 macroblock rows) give little more.
constexpr unsigned kMostEncoderThreads = 8;

int encoderThreads() {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<int>(std::min(cores, kMostEncoderThreads));
}

// The rate the muxer paces its packs at, in bit/s. Worked out from the nominal bit rates
// it falls behind whenever the encoder runs over them, and then writes sound seconds
// ahead of its pictures (players reading the file must hold that much sound). A rate
// well above the streams' is only an upper bound: packs are not padded to it, and the
// muxer interleaves by time. The DVD's rate as the least, twice the streams' above it.
constexpr std::int64_t kLeastMuxRate = 10080000;

std::int64_t muxRate(const EncoderSettings& settings) {
  const std::int64_t streams = static_cast<std::int64_t>(settings.videoBitRate) + settings.audioKbitRate * 1000LL;
  return std::max(kLeastMuxRate, 2 * streams);
}

HRESULT fromAv(int error) { return error >= 0 ? S_OK : E_FAIL; }

}  // namespace

MpegFileWriter::~MpegFileWriter() { release(); }

std::unique_ptr<MpegFileWriter> MpegFileWriter::create(const std::string& path, const EncoderSettings& settings,
                                                       const Picture* picture, const Sound* sound, HRESULT& hr,
                                                       int threads) {
  std::unique_ptr<MpegFileWriter> writer(new MpegFileWriter);
  av_log_set_level(AV_LOG_ERROR);
  hr = fromAv(avformat_alloc_output_context2(&writer->m_format, nullptr, settings.mpeg2() ? "vob" : "mpeg", path.c_str()));
  if (SUCCEEDED(hr) && picture) hr = writer->openVideo(settings, *picture, threads);
  if (SUCCEEDED(hr) && sound) hr = writer->openAudio(settings, *sound);
  if (SUCCEEDED(hr) && avio_open(&writer->m_format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
    hr = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  AVDictionary* options = nullptr;
  if (SUCCEEDED(hr)) av_dict_set_int(&options, "muxrate", muxRate(settings), 0);
  // What the muxer has put out is in the file at once, not in a buffer of ours.
  if (SUCCEEDED(hr)) writer->m_format->flush_packets = 1;
  if (SUCCEEDED(hr)) hr = fromAv(avformat_write_header(writer->m_format, &options));
  av_dict_free(&options);
  if (FAILED(hr)) {
    PLAT_LOG("mpegrec", "cannot start %s: 0x%08x", path.c_str(), static_cast<unsigned>(hr));
    return nullptr;
  }
  return writer;
}

HRESULT MpegFileWriter::openVideo(const EncoderSettings& settings, const Picture& picture, int threads) {
  const AVCodec* codec = avcodec_find_encoder(settings.mpeg2() ? AV_CODEC_ID_MPEG2VIDEO : AV_CODEC_ID_MPEG1VIDEO);
  if (!codec || picture.width <= 0 || picture.height <= 0) return E_FAIL;
  m_video = avcodec_alloc_context3(codec);
  m_videoStream = avformat_new_stream(m_format, nullptr);
  if (!m_video || !m_videoStream) return E_OUTOFMEMORY;
  EncoderSettings::frameRate(settings.frameRateCode, m_rateNum, m_rateDen);
  m_video->width = settings.pictureWidth();
  m_video->height = settings.pictureHeight();
  m_video->pix_fmt = AV_PIX_FMT_YUV420P;
  m_video->time_base = AVRational{m_rateDen, m_rateNum};
  m_video->framerate = AVRational{m_rateNum, m_rateDen};
  m_video->bit_rate = settings.videoBitRate;
  m_video->gop_size = m_rateNum / m_rateDen >= 29 ? 15 : 12;
  m_video->max_b_frames = 2;
  // Slices, not frames: the stream's format is the same as with one thread.
  m_video->thread_type = FF_THREAD_SLICE;
  m_video->thread_count = threads > 0 ? threads : encoderThreads();
  HRESULT hr = fromAv(avcodec_open2(m_video, codec, nullptr));
  if (SUCCEEDED(hr)) hr = fromAv(avcodec_parameters_from_context(m_videoStream->codecpar, m_video));
  if (FAILED(hr)) return hr;
  m_videoStream->time_base = m_video->time_base;

  m_input = picture;
  m_scaler = sws_getContext(picture.width, picture.height, picture.yuy2 ? AV_PIX_FMT_YUYV422 : AV_PIX_FMT_BGR24,
                            m_video->width, m_video->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!m_scaler) return E_FAIL;
  m_encoder = StreamActivity::instance().startThread("mpeg encoder", [this] { encodePictures(); });
  return S_OK;
}

HRESULT MpegFileWriter::openAudio(const EncoderSettings& settings, const Sound& sound) {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
  if (!codec) return E_FAIL;
  m_audio = avcodec_alloc_context3(codec);
  m_audioStream = avformat_new_stream(m_format, nullptr);
  m_sound = av_frame_alloc();
  if (!m_audio || !m_audioStream || !m_sound) return E_OUTOFMEMORY;
  m_audio->sample_fmt = AV_SAMPLE_FMT_S16;
  m_audio->sample_rate = sound.rate;
  av_channel_layout_default(&m_audio->ch_layout, sound.channels);
  m_audio->bit_rate = static_cast<std::int64_t>(settings.audioKbitRate) * 1000;
  m_audio->time_base = AVRational{1, sound.rate};
  HRESULT hr = fromAv(avcodec_open2(m_audio, codec, nullptr));
  if (SUCCEEDED(hr)) hr = fromAv(avcodec_parameters_from_context(m_audioStream->codecpar, m_audio));
  if (FAILED(hr)) return hr;
  m_audioStream->time_base = m_audio->time_base;

  m_sound->format = AV_SAMPLE_FMT_S16;
  m_sound->sample_rate = sound.rate;
  m_sound->nb_samples = m_audio->frame_size;
  av_channel_layout_copy(&m_sound->ch_layout, &m_audio->ch_layout);
  return av_frame_get_buffer(m_sound, 0) < 0 ? E_OUTOFMEMORY : S_OK;
}

HRESULT MpegFileWriter::writePicture(const BYTE* data, LONG size, REFERENCE_TIME start) {
  std::unique_lock guard(m_lock);
  if (m_finished || !m_video) return E_UNEXPECTED;
  const int rowBytes = m_input.yuy2 ? m_input.width * 2 : (m_input.width * 3 + 3) & ~3;
  if (!data || size < static_cast<LONG>(rowBytes) * m_input.height) return E_INVALIDARG;
  const auto frame = static_cast<std::int64_t>(
      std::llround(static_cast<double>(start) * m_rateNum / (m_rateDen * kUnitsPerSecond)));
  if (frame < m_nextPicture) return S_OK;  // this frame number is written already
  StreamActivity::instance().wait(
      this, [&] { return m_waiting.size() < kPicturesAhead || FAILED(m_encodeResult); }, std::nullopt, &guard);
  // The file may have been finished, or the frame written, while this waited for room.
  if (m_finished) return E_UNEXPECTED;
  if (FAILED(m_encodeResult)) return m_encodeResult;
  if (frame < m_nextPicture) return S_OK;
  AVFrame* picture = sparePicture();
  if (!picture) return E_OUTOFMEMORY;

  // A bottom-up RGB picture is read from its last row upwards.
  const uint8_t* source = data;
  int stride = rowBytes;
  if (!m_input.yuy2) {
    source = data + static_cast<std::ptrdiff_t>(rowBytes) * (m_input.height - 1);
    stride = -rowBytes;
  }
  sws_scale(m_scaler, &source, &stride, 0, m_input.height, picture->data, picture->linesize);
  picture->pts = frame;
  m_waiting.push_back(picture);
  m_nextPicture = frame + 1;
  ++m_pictures;
  guard.unlock();
  StreamActivity::instance().notify(this);
  return S_OK;
}

AVFrame* MpegFileWriter::sparePicture() {
  // The encoder keeps references to the pictures it still needs (B-frames come after the
  // pictures they point to): a buffer is written again only once it has let go.
  const auto free = std::find_if(m_spare.begin(), m_spare.end(), [](AVFrame* spare) { return av_frame_is_writable(spare); });
  if (free != m_spare.end()) {
    AVFrame* picture = *free;
    m_spare.erase(free);
    return picture;
  }
  AVFrame* picture = av_frame_alloc();
  if (!picture) return nullptr;
  picture->format = AV_PIX_FMT_YUV420P;
  picture->width = m_video->width;
  picture->height = m_video->height;
  if (av_frame_get_buffer(picture, 0) < 0) av_frame_free(&picture);
  return picture;
}

void MpegFileWriter::encodePictures() {
  StreamActivity& activity = StreamActivity::instance();
  std::unique_lock guard(m_lock);
  for (;;) {
    activity.wait(this, [&] { return !m_waiting.empty() || m_stopEncoding; }, std::nullopt, &guard);
    if (m_waiting.empty()) return;
    AVFrame* picture = m_waiting.front();
    guard.unlock();
    const HRESULT hr = encode(m_video, m_videoStream, picture);
    guard.lock();
    m_waiting.pop_front();
    m_spare.push_back(picture);
    if (FAILED(hr) && SUCCEEDED(m_encodeResult)) m_encodeResult = hr;
    guard.unlock();
    activity.notify(this);
    guard.lock();
  }
}

void MpegFileWriter::stopEncoding() {
  if (!m_encoder.joinable()) return;
  {
    std::lock_guard guard(m_lock);
    m_stopEncoding = true;
  }
  StreamActivity::instance().notify(this);
  m_encoder.join();
}

HRESULT MpegFileWriter::writeSound(const BYTE* data, LONG size, REFERENCE_TIME start) {
  std::lock_guard guard(m_lock);
  if (m_finished || !m_audio) return E_UNEXPECTED;
  if (!data || size < 0) return E_INVALIDARG;
  if (m_nextSample < 0)
    m_nextSample = static_cast<std::int64_t>(std::llround(static_cast<double>(start) * m_audio->sample_rate / kUnitsPerSecond));
  m_pcm.insert(m_pcm.end(), data, data + size);
  return encodeSoundFrames();
}

HRESULT MpegFileWriter::encodeSoundFrames() {
  const size_t frameBytes = static_cast<size_t>(m_audio->frame_size) * m_audio->ch_layout.nb_channels * 2;
  size_t used = 0;
  HRESULT hr = S_OK;
  while (SUCCEEDED(hr) && m_pcm.size() - used >= frameBytes) {
    if (av_frame_make_writable(m_sound) < 0) return E_OUTOFMEMORY;
    std::memcpy(m_sound->data[0], m_pcm.data() + used, frameBytes);
    m_sound->pts = m_nextSample;
    hr = encode(m_audio, m_audioStream, m_sound);
    m_nextSample += m_audio->frame_size;
    used += frameBytes;
  }
  m_pcm.erase(m_pcm.begin(), m_pcm.begin() + static_cast<std::ptrdiff_t>(used));
  return hr;
}

HRESULT MpegFileWriter::encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
  int result = avcodec_send_frame(codec, frame);
  AVPacket* packet = av_packet_alloc();
  if (!packet) return E_OUTOFMEMORY;
  while (result >= 0) {
    result = avcodec_receive_packet(codec, packet);
    if (result < 0) break;
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    std::lock_guard file(m_fileLock);
    result = av_interleaved_write_frame(m_format, packet);
  }
  av_packet_free(&packet);
  return result == AVERROR(EAGAIN) || result == AVERROR_EOF ? S_OK : fromAv(result);
}

HRESULT MpegFileWriter::finish() {
  {
    std::lock_guard guard(m_lock);
    if (m_finished) return S_OK;
    m_finished = true;
  }
  stopEncoding();
  std::lock_guard guard(m_lock);
  HRESULT hr = m_encodeResult;
  if (m_video) {
    const HRESULT drained = encode(m_video, m_videoStream, nullptr);
    if (SUCCEEDED(hr)) hr = drained;
  }
  if (m_audio) {
    const HRESULT drained = encode(m_audio, m_audioStream, nullptr);
    if (SUCCEEDED(hr)) hr = drained;
  }
  if (av_write_trailer(m_format) < 0 && SUCCEEDED(hr)) hr = E_FAIL;
  if (avio_closep(&m_format->pb) < 0 && SUCCEEDED(hr)) hr = HRESULT_FROM_WIN32(ERROR_DISK_FULL);
  return hr;
}

LONG MpegFileWriter::picturesEncoded() const {
  std::lock_guard guard(m_lock);
  return m_pictures;
}

void MpegFileWriter::release() {
  stopEncoding();
  sws_freeContext(m_scaler);
  for (AVFrame* picture : m_waiting) av_frame_free(&picture);
  for (AVFrame* picture : m_spare) av_frame_free(&picture);
  av_frame_free(&m_sound);
  avcodec_free_context(&m_video);
  avcodec_free_context(&m_audio);
  if (m_format) {
    if (m_format->pb) avio_closep(&m_format->pb);
    avformat_free_context(m_format);
    m_format = nullptr;
  }
}

}  // namespace plat
