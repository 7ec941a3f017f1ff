#include <dshow/des/MediaDetector.h>

#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/filters/Yuy2Converter.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <machine/Machine.h>
#include <win32/file.h>

#include <cstring>
#include <new>
#include <vector>

namespace plat {

namespace {

constexpr double kUnitsPerSecond = 10'000'000.0;

// A 24-bit bottom-up bitmap file of BGR rows given top row first.
std::vector<std::uint8_t> bitmapFile(const std::vector<std::uint8_t>& bgr, int width, int height) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t image = stride * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> file(14 + 40 + image, 0);
  BITMAPFILEHEADER head{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 14 + 40};
  BITMAPINFOHEADER info{};
  info.biSize = 40;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(image);
  std::memcpy(file.data(), &head, 14);
  std::memcpy(file.data() + 14, &info, 40);
  for (int y = 0; y < height; ++y)
    std::memcpy(file.data() + 54 + static_cast<std::size_t>(height - 1 - y) * stride,
                bgr.data() + static_cast<std::size_t>(y) * width * 3, static_cast<std::size_t>(width) * 3);
  return file;
}

}  // namespace

MediaDetector::MediaDetector(LPUNKNOWN outer, HRESULT* phr) : CUnknown("Media Detector", outer, phr) {}

CUnknown* MediaDetector::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
  return new (std::nothrow) MediaDetector(outer, phr);
}

STDMETHODIMP MediaDetector::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaDet) return GetInterface(static_cast<IMediaDet*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP MediaDetector::put_Filename(BSTR newVal) {
  CheckPointer(newVal, E_POINTER);
  std::lock_guard guard(m_lock);
  m_linuxPath = Machine::current().paths().toLinux(AnsiText::fromWide(newVal)).string();
  m_current = 0;
  m_loaded = ClipReader::probe(m_linuxPath, m_info);
  if (!m_loaded) m_info = ClipReader::Info{};
  return m_loaded ? S_OK : VFW_E_INVALID_FILE_FORMAT;
}

STDMETHODIMP MediaDetector::get_OutputStreams(long* pVal) {
  CheckPointer(pVal, E_POINTER);
  std::lock_guard guard(m_lock);
  *pVal = streamCount();
  return m_loaded ? S_OK : E_INVALIDARG;
}

STDMETHODIMP MediaDetector::put_CurrentStream(long newVal) {
  std::lock_guard guard(m_lock);
  if (newVal < 0 || newVal >= streamCount()) return E_INVALIDARG;
  m_current = newVal;
  return S_OK;
}

STDMETHODIMP MediaDetector::get_StreamMediaType(AM_MEDIA_TYPE* pVal) {
  CheckPointer(pVal, E_POINTER);
  std::lock_guard guard(m_lock);
  if (!m_loaded) return E_INVALIDARG;
  *pVal = AM_MEDIA_TYPE{};
  if (currentIsVideo()) {
    auto* video = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!video) return E_OUTOFMEMORY;
    *video = VIDEOINFOHEADER{};
    video->AvgTimePerFrame = static_cast<REFERENCE_TIME>(kUnitsPerSecond * m_info.rateDen / m_info.rateNum);
    video->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    video->bmiHeader.biWidth = m_info.width;
    video->bmiHeader.biHeight = m_info.height;
    video->bmiHeader.biPlanes = 1;
    video->bmiHeader.biBitCount = 24;
    video->bmiHeader.biSizeImage = static_cast<DWORD>(((m_info.width * 3 + 3) & ~3) * m_info.height);
    pVal->majortype = MEDIATYPE_Video;
    pVal->subtype = MEDIASUBTYPE_RGB24;
    pVal->bFixedSizeSamples = TRUE;
    pVal->lSampleSize = video->bmiHeader.biSizeImage;
    pVal->formattype = FORMAT_VideoInfo;
    pVal->cbFormat = sizeof(VIDEOINFOHEADER);
    pVal->pbFormat = reinterpret_cast<BYTE*>(video);
    return S_OK;
  }
  auto* wave = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
  if (!wave) return E_OUTOFMEMORY;
  *wave = WAVEFORMATEX{};
  wave->wFormatTag = WAVE_FORMAT_PCM;
  wave->nChannels = static_cast<WORD>(m_info.channels);
  wave->nSamplesPerSec = static_cast<DWORD>(m_info.sampleRate);
  wave->wBitsPerSample = 16;
  wave->nBlockAlign = static_cast<WORD>(2 * m_info.channels);
  wave->nAvgBytesPerSec = wave->nSamplesPerSec * wave->nBlockAlign;
  pVal->majortype = MEDIATYPE_Audio;
  pVal->subtype = MEDIASUBTYPE_PCM;
  pVal->bFixedSizeSamples = TRUE;
  pVal->lSampleSize = wave->nBlockAlign;
  pVal->formattype = FORMAT_WaveFormatEx;
  pVal->cbFormat = sizeof(WAVEFORMATEX);
  pVal->pbFormat = reinterpret_cast<BYTE*>(wave);
  return S_OK;
}

STDMETHODIMP MediaDetector::WriteBitmapBits(double StreamTime, long Width, long Height, BSTR Filename) {
  CheckPointer(Filename, E_POINTER);
  std::string path;
  {
    std::lock_guard guard(m_lock);
    if (!currentIsVideo()) return E_INVALIDARG;
    path = m_linuxPath;
  }
  if (Width <= 0 || Height <= 0 || Width > kMostSide || Height > kMostSide || StreamTime < 0) return E_INVALIDARG;
  auto reader = ClipReader::open(path, true);
  if (!reader) return VFW_E_INVALID_FILE_FORMAT;
  // Pictures come out of the reader as YUY2, whose pixels go in pairs: an odd width is
  // decoded one pixel wider and the last column left out.
  const int w = static_cast<int>(Width), h = static_cast<int>(Height);
  const int even = (w + 1) & ~1;
  std::vector<BYTE> yuy2(static_cast<std::size_t>(even) * h * 2);
  if (!reader->picture(static_cast<std::int64_t>(StreamTime * kUnitsPerSecond), even, h, yuy2.data())) return E_FAIL;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(even) * 3);
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    Yuy2Converter::toBgr(yuy2.data() + static_cast<std::size_t>(y) * even * 2, even, row.data(), 3);
    std::memcpy(bgr.data() + static_cast<std::size_t>(y) * w * 3, row.data(), static_cast<std::size_t>(w) * 3);
  }
  const auto file = bitmapFile(bgr, w, h);
  const std::string name = AnsiText::fromWide(Filename);
  return ReplaceFileContentsA(name.c_str(), file.data(), static_cast<DWORD>(file.size())) ? S_OK : E_FAIL;
}

}  // namespace plat
