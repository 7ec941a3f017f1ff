#include "TestSource.h"

#include <support/media/FrameStream.h>

#include <algorithm>
#include <cstring>

namespace fanout {

namespace {
constexpr LONGLONG kDuration = 10 * 10'000'000LL;
}  // namespace

class TestSource::Stream : public test::FrameStream, public IMediaSeeking {
 public:
  Stream(TestSource* source, std::vector<CMediaType> types, int frames, int buffers)
      : FrameStream(source, frames, buffers), m_types(std::move(types)) {}

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return FrameStream::NonDelegatingQueryInterface(riid, ppv);
  }

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    return std::find(m_types.begin(), m_types.end(), *pmt) != m_types.end() ? S_OK : S_FALSE;
  }
  HRESULT GetMediaType(int position, CMediaType* pmt) override {
    if (position < 0) return E_INVALIDARG;
    if (position >= static_cast<int>(m_types.size())) return VFW_S_NO_MORE_ITEMS;
    *pmt = m_types[static_cast<size_t>(position)];
    return S_OK;
  }
  long bufferBytes() override { return std::max<long>(16, static_cast<long>(m_mt.GetSampleSize())); }
  void fill(IMediaSample* sample, int frame) override {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, frame, static_cast<size_t>(sample->GetSize()));
    sample->SetActualDataLength(sample->GetSize());
    if (frame == m_changeAt) sample->SetMediaType(&m_change);
    std::lock_guard guard(m_dataLock);
    m_delivered.push_back(sample);
  }

  STDMETHODIMP Notify(IBaseFilter* pSelf, Quality q) override {
    std::lock_guard guard(m_dataLock);
    m_quality.push_back({pSelf, q});
    return S_OK;
  }

  // IMediaSeeking: a stream of fixed length in media time; positions are only recorded.
  STDMETHODIMP GetCapabilities(DWORD* caps) override {
    CheckPointer(caps, E_POINTER);
    *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
            AM_SEEKING_CanGetDuration;
    return S_OK;
  }
  STDMETHODIMP CheckCapabilities(DWORD* caps) override {
    CheckPointer(caps, E_POINTER);
    DWORD mine = 0;
    GetCapabilities(&mine);
    const DWORD asked = *caps;
    *caps &= mine;
    return *caps == asked ? S_OK : (*caps ? S_FALSE : E_FAIL);
  }
  STDMETHODIMP IsFormatSupported(const GUID* format) override {
    return format && *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
  }
  STDMETHODIMP QueryPreferredFormat(GUID* format) override { return GetTimeFormat(format); }
  STDMETHODIMP GetTimeFormat(GUID* format) override {
    CheckPointer(format, E_POINTER);
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
  }
  STDMETHODIMP IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
  STDMETHODIMP SetTimeFormat(const GUID* format) override { return IsFormatSupported(format) == S_OK ? S_OK : E_INVALIDARG; }
  STDMETHODIMP GetDuration(LONGLONG* duration) override {
    CheckPointer(duration, E_POINTER);
    *duration = kDuration;
    return S_OK;
  }
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override { return GetDuration(stop); }
  STDMETHODIMP GetCurrentPosition(LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*, DWORD) override {
    if (!current || (currentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_NoPositioning) return S_OK;
    std::lock_guard guard(m_dataLock);
    m_seeks.push_back(*current);
    return S_OK;
  }
  STDMETHODIMP GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetRate(double) override { return E_NOTIMPL; }
  STDMETHODIMP GetRate(double*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

  IMemAllocator* allocator() const { return m_pAllocator; }

  std::vector<CMediaType> m_types;
  int m_changeAt = -1;
  CMediaType m_change;
  mutable std::mutex m_dataLock;
  std::vector<IMediaSample*> m_delivered;
  std::vector<QualityNote> m_quality;
  std::vector<LONGLONG> m_seeks;
};

TestSource::TestSource(std::vector<CMediaType> types, int frames, int buffers)
    : CSource("Test source", nullptr, GUID_NULL), m_stream(new Stream(this, std::move(types), frames, buffers)) {}

IPin* TestSource::output() { return m_stream; }

void TestSource::changeTypeAt(int frame, const CMediaType& type) {
  m_stream->m_changeAt = frame;
  m_stream->m_change = type;
}

std::vector<IMediaSample*> TestSource::delivered() const {
  std::lock_guard guard(m_stream->m_dataLock);
  return m_stream->m_delivered;
}

std::vector<TestSource::QualityNote> TestSource::qualityNotes() const {
  std::lock_guard guard(m_stream->m_dataLock);
  return m_stream->m_quality;
}

std::vector<LONGLONG> TestSource::seeks() const {
  std::lock_guard guard(m_stream->m_dataLock);
  return m_stream->m_seeks;
}

IMemAllocator* TestSource::allocator() const { return m_stream->allocator(); }

}  // namespace fanout
