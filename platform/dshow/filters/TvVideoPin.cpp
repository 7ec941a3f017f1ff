#include <dshow/filters/TvVideoPin.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CSource.h>
#include <dshow/engine/ClockWait.h>
#include <dshow/filters/BufferNeeds.h>
#include <dshow/filters/TvCapture.h>
#include <dshow/filters/Yuy2Converter.h>
#include <machine/TestPicture.h>
#include <machine/CaptureHardware.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

constexpr LONG kMinWidth = 160, kMinHeight = 120, kMaxWidth = 720, kMaxHeight = 576;
constexpr int kGranularityX = 16, kGranularityY = 2;
constexpr REFERENCE_TIME kMinInterval = 166'667, kMaxInterval = 4'000'000;
const GUID* const kSubtypes[] = {&MEDIASUBTYPE_YUY2, &MEDIASUBTYPE_RGB24};

WORD bitsFor(const GUID& subtype) { return subtype == MEDIASUBTYPE_YUY2 ? 16 : 24; }

DWORD imageSize(LONG width, LONG height, WORD bits) {
  return static_cast<DWORD>(((width * bits + 31) / 32) * 4 * (height < 0 ? -height : height));
}

bool validFormat(const CMediaType& type) {
  if (*type.Type() != MEDIATYPE_Video || *type.FormatType() != FORMAT_VideoInfo ||
      type.FormatLength() < sizeof(VIDEOINFOHEADER) || !type.Format())
    return false;
  const GUID& subtype = *type.Subtype();
  if (subtype != MEDIASUBTYPE_YUY2 && subtype != MEDIASUBTYPE_RGB24) return false;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
  const LONG width = info->bmiHeader.biWidth;
  const LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  return width >= kMinWidth && width <= kMaxWidth && height >= kMinHeight && height <= kMaxHeight &&
         width % kGranularityX == 0 && height % kGranularityY == 0 && info->bmiHeader.biBitCount == bitsFor(subtype) &&
         info->AvgTimePerFrame >= kMinInterval && info->AvgTimePerFrame <= kMaxInterval;
}

std::uint8_t clampByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

TvVideoPin::TvVideoPin(CSource* filter, LPCWSTR name, const GUID& category, CaptureHardware& stick)
    : CapturePin("TV video pin", filter, name, category, nativeFormat(stick)), m_stick(stick) {}

CMediaType TvVideoPin::nativeFormat(CaptureHardware& stick) {
  // The decoder's standard decides the native picture: 525 lines at 29.97 frames, else 625 at 25.
  const bool lines525 = (stick.decoderStandard() & (0x7 | 0x200)) != 0;
  return videoFormat(MEDIASUBTYPE_YUY2, 720, lines525 ? 480 : 576, lines525 ? 333'667 : 400'000);
}

CMediaType TvVideoPin::videoFormat(const GUID& subtype, LONG width, LONG height, REFERENCE_TIME frameInterval) {
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&subtype);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  info->AvgTimePerFrame = frameInterval;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bitsFor(subtype);
  info->bmiHeader.biCompression = subtype == MEDIASUBTYPE_YUY2 ? MAKEFOURCC('Y', 'U', 'Y', '2') : BI_RGB;
  info->bmiHeader.biSizeImage = imageSize(width, height, info->bmiHeader.biBitCount);
  info->rcSource = {0, 0, width, height};
  info->rcTarget = {0, 0, width, height};
  type.SetSampleSize(info->bmiHeader.biSizeImage);
  return type;
}

const VIDEOINFOHEADER* TvVideoPin::format() {
  return reinterpret_cast<const VIDEOINFOHEADER*>(currentFormat().Format());
}

HRESULT TvVideoPin::CheckMediaType(const CMediaType* pmt) { return validFormat(*pmt) ? S_OK : S_FALSE; }

HRESULT TvVideoPin::GetMoreMediaTypes(int iPosition, CMediaType* pMediaType) {
  if (iPosition > 1) return VFW_S_NO_MORE_ITEMS;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_format.Format());
  const GUID& other = *m_format.Subtype() == MEDIASUBTYPE_YUY2 ? MEDIASUBTYPE_RGB24 : MEDIASUBTYPE_YUY2;
  *pMediaType = videoFormat(other, info->bmiHeader.biWidth, info->bmiHeader.biHeight, info->AvgTimePerFrame);
  return S_OK;
}

HRESULT TvVideoPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) {
  return BufferNeeds::Ask(pAlloc, *pProps, 3, static_cast<long>(format()->bmiHeader.biSizeImage));
}

REFERENCE_TIME TvVideoPin::period() { return format()->AvgTimePerFrame; }

bool TvVideoPin::deviceReady() { return static_cast<TvCapture*>(m_pFilter)->checkDevice(); }

void TvVideoPin::applyPictureControls(BYTE* yuy2, int width, int height) {
  constexpr int kControls = CaptureHardware::kProcAmpProperties;
  long values[kControls];
  double shares[kControls];  // each control's distance from its default, as a share of its range
  bool untouched = true;
  for (int p = 0; p < kControls; ++p) {
    const auto range = m_stick.procAmpRange(p);
    values[p] = m_stick.procAmp(p);
    shares[p] = static_cast<double>(values[p] - range.def) / static_cast<double>(std::max(1L, range.max - range.min));
    untouched = untouched && values[p] == range.def;
  }
  if (untouched) return;
  const int lift = static_cast<int>(shares[0] * 128);
  const double gain = static_cast<double>(values[1]) / std::max(1L, m_stick.procAmpRange(1).def);
  const double chroma = static_cast<double>(values[3]) / std::max(1L, m_stick.procAmpRange(3).def);
  // The hue turns the colour plane by up to a quarter turn each way.
  const double turn = shares[2] * 3.14159265358979;
  const double cosTurn = std::cos(turn) * chroma, sinTurn = std::sin(turn) * chroma;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 2;
  for (size_t i = 0; i + 3 < bytes; i += 4) {
    yuy2[i] = clampByte(16 + static_cast<int>((yuy2[i] - 16) * gain) + lift);
    yuy2[i + 2] = clampByte(16 + static_cast<int>((yuy2[i + 2] - 16) * gain) + lift);
    const double u = yuy2[i + 1] - 128, v = yuy2[i + 3] - 128;
    yuy2[i + 1] = clampByte(128 + static_cast<int>(u * cosTurn - v * sinTurn));
    yuy2[i + 3] = clampByte(128 + static_cast<int>(u * sinTurn + v * cosTurn));
  }
  if (values[4] != m_stick.procAmpRange(4).def) sharpen(yuy2, width, height, shares[4] * 1.5);
}

// Each luma sample pushed away from (or, with a negative amount, towards) the mean of its
// row neighbours: edges grow harder or softer, flat areas stay as they were.
void TvVideoPin::sharpen(BYTE* yuy2, int width, int height, double amount) {
  std::vector<int> row(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    BYTE* line = yuy2 + static_cast<size_t>(y) * static_cast<size_t>(width) * 2;
    for (int x = 0; x < width; ++x) row[static_cast<size_t>(x)] = line[x * 2];
    for (int x = 1; x + 1 < width; ++x) {
      const int here = row[static_cast<size_t>(x)];
      const double around = (row[static_cast<size_t>(x - 1)] + row[static_cast<size_t>(x + 1)]) / 2.0;
      line[x * 2] = clampByte(here + static_cast<int>(amount * (here - around)));
    }
  }
}

HRESULT TvVideoPin::fillAt(IMediaSample* sample, REFERENCE_TIME, std::uint64_t index) {
  const VIDEOINFOHEADER* info = format();
  const int width = info->bmiHeader.biWidth;
  const int height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  const Scene scene = m_stick.scene();
  const std::int64_t timeMs = ClockWait::now() / 10'000;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const bool yuy2 = *currentFormat().Subtype() == MEDIASUBTYPE_YUY2;
  BYTE* picture = data;
  if (!yuy2) {
    m_scratch.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 2);
    picture = m_scratch.data();
  }
  TestPicture::paintYuy2(scene, timeMs, index, width, height, picture, width * 2);
  applyPictureControls(picture, width, height);
  if (!yuy2) {
    // RGB24 as a bottom-up DIB: rows padded to four bytes, the last picture row first.
    const int stride = (width * 24 + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
      const BYTE* from = picture + static_cast<size_t>(y) * static_cast<size_t>(width) * 2;
      BYTE* to = data + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
      Yuy2Converter::toBgr(from, width, to, 3);
    }
  }
  return sample->SetActualDataLength(static_cast<long>(info->bmiHeader.biSizeImage));
}

STDMETHODIMP TvVideoPin::SetFormat(AM_MEDIA_TYPE* pmt) {
  CheckPointer(pmt, E_POINTER);
  const CMediaType wanted(*pmt);
  if (!validFormat(wanted)) return VFW_E_INVALIDMEDIATYPE;
  {
    CAutoLock lock(m_pLock);
    if (IsConnected()) {
      if (!IsStopped()) return VFW_E_NOT_STOPPED;
      // Connected: the peer must take the new format, through a reconnect.
      if (m_Connected->QueryAccept(&wanted) != S_OK) return VFW_E_INVALIDMEDIATYPE;
    }
    CAutoLock formatLock(&m_formatLock);
    m_format = wanted;
    if (!IsConnected()) return S_OK;
  }
  // The graph locks itself before the pins it connects: ask it with no lock of ours held.
  IFilterGraph* graph = m_pFilter->GetFilterGraph();
  IFilterGraph2* graph2 = nullptr;
  if (!graph || FAILED(graph->QueryInterface(IID_IFilterGraph2, reinterpret_cast<void**>(&graph2)))) return VFW_E_NOT_IN_GRAPH;
  const HRESULT hr = graph2->ReconnectEx(this, &wanted);
  graph2->Release();
  return hr;
}

STDMETHODIMP TvVideoPin::GetNumberOfCapabilities(int* piCount, int* piSize) {
  CheckPointer(piCount, E_POINTER);
  CheckPointer(piSize, E_POINTER);
  *piCount = 2;
  *piSize = sizeof(VIDEO_STREAM_CONFIG_CAPS);
  return S_OK;
}

STDMETHODIMP TvVideoPin::GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) {
  CheckPointer(ppmt, E_POINTER);
  CheckPointer(pSCC, E_POINTER);
  if (iIndex < 0 || iIndex > 1) return S_FALSE;
  const GUID& subtype = *kSubtypes[iIndex];
  const CMediaType type = videoFormat(subtype, kMaxWidth, kMaxHeight, 400'000);
  *ppmt = CreateMediaType(&type);
  if (!*ppmt) return E_OUTOFMEMORY;
  VIDEO_STREAM_CONFIG_CAPS caps{};
  caps.guid = FORMAT_VideoInfo;
  caps.VideoStandard = static_cast<ULONG>(0x1FFFFF);
  caps.InputSize = {kMaxWidth, kMaxHeight};
  caps.MinCroppingSize = caps.MinOutputSize = {kMinWidth, kMinHeight};
  caps.MaxCroppingSize = caps.MaxOutputSize = {kMaxWidth, kMaxHeight};
  caps.CropGranularityX = caps.OutputGranularityX = kGranularityX;
  caps.CropGranularityY = caps.OutputGranularityY = kGranularityY;
  caps.MinFrameInterval = kMinInterval;
  caps.MaxFrameInterval = kMaxInterval;
  const LONG bits = bitsFor(subtype);
  caps.MinBitsPerSecond = static_cast<LONG>(kMinWidth * kMinHeight * bits * 10000000LL / kMaxInterval);
  caps.MaxBitsPerSecond = static_cast<LONG>(std::min<long long>(0x7FFFFFFF, kMaxWidth * kMaxHeight * bits * 10000000LL / kMinInterval));
  std::memcpy(pSCC, &caps, sizeof(caps));
  return S_OK;
}

}  // namespace plat
