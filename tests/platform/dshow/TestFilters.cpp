#include "TestFilters.h"

#include <support/media/AskBuffers.h>
#include <support/media/VideoType.h>

#include <cstring>
#include <thread>

namespace dstest {

namespace {
std::mutex g_logLock;
std::vector<std::string> g_log;
}  // namespace

void StateLog::add(const std::string& entry) {
  std::lock_guard guard(g_logLock);
  g_log.push_back(entry);
}

std::vector<std::string> StateLog::take() {
  std::lock_guard guard(g_logLock);
  return std::exchange(g_log, {});
}

CMediaType videoType(const GUID& subtype, LONG width, LONG height) { return test::VideoType(subtype, width, height, 16); }

// ---- PushSource

// The stream seeks too (in 40 ms frames), so pass-throughs and the graph have
// something to forward positions to.
class PushSource::Stream : public CSourceStream, public IMediaSeeking {
 public:
  Stream(PushSource* filter, const CMediaType& type, int frames)
      : CSourceStream("Push stream", &m_hr, filter, L"Out"), m_type(type), m_frames(frames) {}

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
  }
  STDMETHODIMP GetCapabilities(DWORD* caps) override {
    *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetDuration | AM_SEEKING_CanGetCurrentPos;
    return S_OK;
  }
  STDMETHODIMP CheckCapabilities(DWORD* caps) override {
    DWORD mine = 0;
    GetCapabilities(&mine);
    return (*caps & mine) == *caps ? S_OK : S_FALSE;
  }
  STDMETHODIMP IsFormatSupported(const GUID* format) override {
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
  }
  STDMETHODIMP QueryPreferredFormat(GUID* format) override {
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
  }
  STDMETHODIMP GetTimeFormat(GUID* format) override { return QueryPreferredFormat(format); }
  STDMETHODIMP IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
  STDMETHODIMP SetTimeFormat(const GUID* format) override { return IsFormatSupported(format) == S_OK ? S_OK : E_INVALIDARG; }
  STDMETHODIMP GetDuration(LONGLONG* duration) override {
    *duration = m_frames * 400000LL;
    return S_OK;
  }
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override { return GetDuration(stop); }
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override {
    *current = m_next * 400000LL;
    return S_OK;
  }
  STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*, DWORD) override {
    if ((currentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning && current) {
      m_next = static_cast<int>(*current / 400000LL);
      m_seeks.push_back(*current);
    }
    return S_OK;
  }
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override {
    if (current) GetCurrentPosition(current);
    if (stop) GetStopPosition(stop);
    return S_OK;
  }
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override {
    *earliest = 0;
    return GetDuration(latest);
  }
  STDMETHODIMP SetRate(double rate) override { return rate == 1.0 ? S_OK : E_INVALIDARG; }
  STDMETHODIMP GetRate(double* rate) override {
    *rate = 1.0;
    return S_OK;
  }
  STDMETHODIMP GetPreroll(LONGLONG* preroll) override {
    *preroll = 0;
    return S_OK;
  }

  std::vector<LONGLONG> m_seeks;

  HRESULT GetMediaType(CMediaType* pMediaType) override {
    *pMediaType = m_type;
    return S_OK;
  }
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override {
    return test::AskBuffers(alloc, *props, 3, static_cast<long>(m_type.GetSampleSize()));
  }
  HRESULT FillBuffer(IMediaSample* sample) override {
    if (m_frames >= 0 && m_next >= m_frames) return S_FALSE;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, m_next & 0xFF, static_cast<size_t>(sample->GetSize()));
    sample->SetActualDataLength(sample->GetSize());
    REFERENCE_TIME start = m_next * 400000LL;
    REFERENCE_TIME stop = start + 400000LL;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    ++m_next;
    return S_OK;
  }
  HRESULT Deliver(IMediaSample* sample) override {
    const HRESULT hr = CSourceStream::Deliver(sample);
    ++m_attempts;
    if (hr == S_OK) ++m_delivered;
    return hr;
  }

  std::atomic<int> m_delivered{0};
  std::atomic<int> m_attempts{0};

 private:
  HRESULT m_hr = S_OK;
  CMediaType m_type;
  int m_frames;
  std::atomic<int> m_next{0};
};

PushSource::PushSource(const CMediaType& type, int frames, REFCLSID clsid) : CSource("Push source", nullptr, clsid) {
  m_stream = new Stream(this, type, frames);
}

int PushSource::delivered() const { return m_stream->m_delivered; }

int PushSource::attempts() const { return m_stream->m_attempts; }

std::vector<LONGLONG> PushSource::seeks() const { return m_stream->m_seeks; }

STDMETHODIMP PushSource::Stop() {
  StateLog::add(m_label + ":Stop");
  return CSource::Stop();
}

STDMETHODIMP PushSource::Pause() {
  StateLog::add(m_label + ":Pause");
  return CSource::Pause();
}

STDMETHODIMP PushSource::Run(REFERENCE_TIME tStart) {
  StateLog::add(m_label + ":Run");
  return CSource::Run(tStart);
}

// ---- SinkFilter

class SinkFilter::Pin : public CBaseInputPin {
 public:
  Pin(SinkFilter* filter, std::vector<GUID> subtypes)
      : CBaseInputPin("Sink pin", filter, &filter->m_lock, &m_hr, L"In"), m_sink(filter), m_subtypes(std::move(subtypes)) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    if (m_subtypes.empty()) return S_OK;
    for (const GUID& subtype : m_subtypes)
      if (*pmt->Subtype() == subtype) return S_OK;
    return S_FALSE;
  }
  HRESULT GetMediaType(int position, CMediaType* type) override {
    if (position < 0) return E_INVALIDARG;
    if (position >= static_cast<int>(m_subtypes.size())) return VFW_S_NO_MORE_ITEMS;
    *type = videoType(m_subtypes[static_cast<size_t>(position)]);
    return S_OK;
  }
  STDMETHODIMP Receive(IMediaSample* sample) override {
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    ReceivedSample got{data[0], sample->GetActualDataLength(), 0, 0, false};
    got.timed = SUCCEEDED(sample->GetTime(&got.start, &got.stop));
    std::unique_lock guard(m_sink->m_dataLock);
    m_sink->m_samples.push_back(got);
    m_sink->changed();
    if (m_sink->m_block) {
      m_sink->m_blocked = true;
      m_sink->changed();
      // A streaming wait: the thread held here has done its part until it is let go.
      plat::StreamActivity::instance().wait(
          &m_sink->m_changed, [&] { return !m_sink->m_block || m_bFlushing || m_sink->m_inactive; }, std::nullopt,
          &guard);
      m_sink->m_blocked = false;
    }
    return S_OK;
  }
  STDMETHODIMP EndOfStream() override {
    {
      std::lock_guard guard(m_sink->m_dataLock);
      ++m_sink->m_eos;
      m_sink->changed();
    }
    if (m_sink->m_reportCompletion) m_sink->NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
  }
  STDMETHODIMP BeginFlush() override {
    CBaseInputPin::BeginFlush();
    std::lock_guard guard(m_sink->m_dataLock);  // wakes a blocked Receive
    ++m_sink->m_flushes;
    m_sink->changed();
    return S_OK;
  }
  HRESULT Active() override {
    std::lock_guard guard(m_sink->m_dataLock);
    m_sink->m_inactive = false;
    return CBaseInputPin::Active();
  }
  HRESULT Inactive() override {
    {
      std::lock_guard guard(m_sink->m_dataLock);
      m_sink->m_inactive = true;
      m_sink->changed();
    }
    return CBaseInputPin::Inactive();
  }

 private:
  HRESULT m_hr = S_OK;
  SinkFilter* m_sink;
  std::vector<GUID> m_subtypes;
};

SinkFilter::SinkFilter(std::vector<GUID> subtypes, REFCLSID clsid, LPUNKNOWN outer)
    : CBaseFilter("Sink", outer, &m_lock, clsid), m_pin(new Pin(this, std::move(subtypes))) {}

SinkFilter::~SinkFilter() {
  m_passThru.reset();
  delete m_pin;
}

STDMETHODIMP SinkFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition) {
    if (!m_passThru) {
      const HRESULT hr = CreatePosPassThru(GetOwner(), TRUE, m_pin, m_passThru.put());
      if (FAILED(hr)) return hr;
    }
    return m_passThru->QueryInterface(riid, ppv);
  }
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP SinkFilter::Stop() {
  StateLog::add(m_label + ":Stop");
  return CBaseFilter::Stop();
}

STDMETHODIMP SinkFilter::Pause() {
  StateLog::add(m_label + ":Pause");
  return CBaseFilter::Pause();
}

STDMETHODIMP SinkFilter::Run(REFERENCE_TIME tStart) {
  StateLog::add(m_label + ":Run");
  return CBaseFilter::Run(tStart);
}

CBasePin* SinkFilter::GetPin(int n) { return n == 0 ? m_pin : nullptr; }

CBaseInputPin* SinkFilter::input() { return m_pin; }

std::vector<ReceivedSample> SinkFilter::samples() const {
  std::lock_guard guard(m_dataLock);
  return m_samples;
}

int SinkFilter::endOfStreams() const {
  std::lock_guard guard(m_dataLock);
  return m_eos;
}

int SinkFilter::flushes() const {
  std::lock_guard guard(m_dataLock);
  return m_flushes;
}

bool SinkFilter::waitForSamples(size_t count) {
  std::unique_lock guard(m_dataLock);
  return m_changed.wait_for(guard, std::chrono::seconds(5), [&] { return m_samples.size() >= count; });
}

bool SinkFilter::waitForEndOfStream() {
  std::unique_lock guard(m_dataLock);
  return m_changed.wait_for(guard, std::chrono::seconds(5), [&] { return m_eos > 0; });
}

void SinkFilter::setBlocking(bool block) {
  std::lock_guard guard(m_dataLock);
  m_block = block;
  changed();
}

void SinkFilter::changed() {
  m_changed.notify_all();
  plat::StreamActivity::instance().notify(&m_changed);
}

bool SinkFilter::waitUntilBlocked() {
  std::unique_lock guard(m_dataLock);
  return m_changed.wait_for(guard, std::chrono::seconds(5), [&] { return m_blocked; });
}

// ---- ConvertTransform

ConvertTransform::ConvertTransform(const GUID& from, const GUID& to, REFCLSID clsid, LPUNKNOWN outer)
    : CTransformFilter("Convert", outer, clsid), m_from(from), m_to(to) {}

HRESULT ConvertTransform::CheckInputType(const CMediaType* mtIn) {
  return *mtIn->Subtype() == m_from ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT ConvertTransform::CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) {
  return *mtIn->Subtype() == m_from && *mtOut->Subtype() == m_to ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT ConvertTransform::DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) {
  return test::AskBuffers(pAllocator, *pprop, 2, static_cast<long>(m_pInput->CurrentMediaType().GetSampleSize()));
}

HRESULT ConvertTransform::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = m_pInput->CurrentMediaType();
  pMediaType->SetSubtype(&m_to);
  return S_OK;
}

HRESULT ConvertTransform::Transform(IMediaSample* pIn, IMediaSample* pOut) {
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  pIn->GetPointer(&from);
  pOut->GetPointer(&to);
  const long length = pIn->GetActualDataLength();
  for (long i = 0; i < length; ++i) to[i] = static_cast<BYTE>(from[i] + 1);
  pOut->SetActualDataLength(length);
  return S_OK;
}

STDMETHODIMP ConvertTransform::Pause() {
  StateLog::add(m_label + ":Pause");
  return CTransformFilter::Pause();
}

STDMETHODIMP ConvertTransform::Run(REFERENCE_TIME tStart) {
  StateLog::add(m_label + ":Run");
  return CTransformFilter::Run(tStart);
}

STDMETHODIMP ConvertTransform::Stop() {
  StateLog::add(m_label + ":Stop");
  return CTransformFilter::Stop();
}

// ---- AddTenInPlace

AddTenInPlace::AddTenInPlace() : CTransInPlaceFilter("Add ten", nullptr, GUID_NULL, nullptr, true) {}

HRESULT AddTenInPlace::CheckInputType(const CMediaType* mtIn) {
  return *mtIn->Type() == MEDIATYPE_Video ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AddTenInPlace::Transform(IMediaSample* pSample) {
  BYTE* data = nullptr;
  pSample->GetPointer(&data);
  for (long i = 0; i < pSample->GetActualDataLength(); ++i) data[i] = static_cast<BYTE>(data[i] + 10);
  return S_OK;
}

IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION dir) {
  plat::ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.put());
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION pinDir;
    pin->QueryDirection(&pinDir);
    pin->Release();  // the filter keeps its pins alive
    if (pinDir == dir) return pin;
  }
  return nullptr;
}

void disconnectAll(std::initializer_list<IBaseFilter*> filters) {
  for (IBaseFilter* filter : filters) {
    filter->Stop();
    plat::ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.put());
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
      pin->Disconnect();
      pin->Release();
    }
  }
}

}  // namespace dstest
