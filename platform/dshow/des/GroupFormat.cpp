#include <dshow/des/GroupFormat.h>

#include <dshow/AnsiText.h>
#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/des/ClipReader.h>
#include <dshow/des/MediaTime.h>
#include <dshow/uuids.h>
#include <machine/Machine.h>

namespace plat {

namespace {

constexpr REFERENCE_TIME kShortestFrame = MediaTime::kSecond / 1000;

}  // namespace

GroupFormat GroupFormat::of(bool video, const std::vector<TimelineNode::Clip>& clips) {
  GroupFormat format;
  format.video = video;
  for (const TimelineNode::Clip& clip : clips) {
    ClipReader::Info info;
    const auto path = Machine::current().paths().toLinux(AnsiText::fromWide(clip.file));
    if (!ClipReader::probe(path.string(), info)) continue;
    if (video && info.video) {
      // YUY2 pairs pixels: the width is kept even.
      format.width = info.width & ~1;
      format.height = info.height;
      // A rate beyond any camera's is a broken header: the default rate stands.
      const REFERENCE_TIME frameTime = llMulDiv(MediaTime::kSecond, info.rateDen, info.rateNum, 0);
      if (frameTime >= kShortestFrame) {
        format.frameTime = frameTime;
        format.rateNum = info.rateNum;
        format.rateDen = info.rateDen;
      }
      break;
    }
    if (!video && info.audio) {
      format.sampleRate = info.sampleRate;
      format.channels = info.channels;
      break;
    }
  }
  return format;
}

REFERENCE_TIME GroupFormat::frameStart(std::int64_t frame) const {
  return llMulDiv(frame, MediaTime::kSecond * rateDen, rateNum, 0);
}

std::int64_t GroupFormat::firstFrameFrom(REFERENCE_TIME time) const {
  const LONGLONG perFrame = MediaTime::kSecond * rateDen;
  return llMulDiv(time, rateNum, perFrame, perFrame - 1);
}

long GroupFormat::sampleBytes() const {
  return video ? static_cast<long>(width) * height * 2 : static_cast<long>(soundFrames()) * channels * 2;
}

CMediaType GroupFormat::mediaType() const {
  CMediaType type;
  if (video) {
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_YUY2);
    type.SetFormatType(&FORMAT_VideoInfo);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    *info = VIDEOINFOHEADER{};
    info->AvgTimePerFrame = frameTime;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 16;
    info->bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
    info->bmiHeader.biSizeImage = static_cast<DWORD>(sampleBytes());
  } else {
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    *wave = WAVEFORMATEX{};
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = static_cast<WORD>(channels);
    wave->nSamplesPerSec = static_cast<DWORD>(sampleRate);
    wave->wBitsPerSample = 16;
    wave->nBlockAlign = static_cast<WORD>(channels * 2);
    wave->nAvgBytesPerSec = static_cast<DWORD>(sampleRate * channels * 2);
  }
  type.SetSampleSize(static_cast<ULONG>(video ? sampleBytes() : channels * 2));
  return type;
}

}  // namespace plat
