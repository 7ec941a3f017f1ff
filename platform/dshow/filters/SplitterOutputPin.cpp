#include <dshow/filters/SplitterOutputPin.h>

#include <com/ComPtr.h>
#include <dshow/amvideo.h>
#include <dshow/filters/MediaSplitter.h>
#include <dshow/filters/PacketAllocator.h>
#include <dshow/filters/PacketSample.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace plat {

namespace {

constexpr DWORD kCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                                AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

}  // namespace

SplitterOutputPin::SplitterOutputPin(MediaSplitter* splitter, CCritSec* lock, LPCWSTR name, const CMediaType& type,
                                     int stream)
    : CBaseOutputPin("Splitter output pin", splitter, lock, nullptr, name),
      m_splitter(splitter),
      m_type(type),
      m_stream(stream) {}

SplitterOutputPin::~SplitterOutputPin() = default;

STDMETHODIMP SplitterOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
  if (riid == IID_IMemAllocatorNotifyCallbackTemp)
    return GetInterface(static_cast<IMemAllocatorNotifyCallbackTemp*>(this), ppv);
  return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

bool SplitterOutputPin::isVideo() const { return m_type.majortype == MEDIATYPE_Video; }

HRESULT SplitterOutputPin::CheckMediaType(const CMediaType* pmt) { return m_type.MatchesPartial(pmt) ? S_OK : S_FALSE; }

HRESULT SplitterOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = m_type;
  return S_OK;
}

HRESULT SplitterOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
  *ppAlloc = nullptr;
  m_lends = false;
  ALLOCATOR_PROPERTIES prop{};
  pPin->GetAllocatorRequirements(&prop);
  if (prop.cbAlign <= 1 && prop.cbPrefix <= 0) {
    HRESULT hr = S_OK;
    auto* own = new (std::nothrow) PacketAllocator(&hr);
    hr = own ? own->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(ppAlloc)) : E_OUTOFMEMORY;
    m_lends = SUCCEEDED(OfferAllocator(pPin, hr, &prop, ppAlloc));
    if (m_lends) return S_OK;
  }
  return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
}

void SplitterOutputPin::fill(IMediaSample* sample, Demuxer::Packet& packet) {
  if (m_lends) {
    static_cast<PacketSample*>(sample)->lend(std::move(packet.bytes), packet.data, packet.size);
    return;
  }
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, packet.data, static_cast<size_t>(packet.size));
  sample->SetActualDataLength(packet.size);
}

HRESULT SplitterOutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) {
  // Enough packets queued that one stream held by its renderer leaves the others room.
  if (m_type.IsFixedSize()) {
    pProps->cBuffers = std::max<long>(pProps->cBuffers, 8);
    pProps->cbBuffer = std::max<long>(pProps->cbBuffer, static_cast<long>(m_type.GetSampleSize()));
  } else {
    pProps->cBuffers = std::max<long>(pProps->cBuffers, isVideo() ? 48 : 96);
    pProps->cbBuffer = std::max<long>(pProps->cbBuffer, isVideo() ? 1024 * 1024 : 256 * 1024);
  }
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = pAlloc->SetProperties(pProps, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer < pProps->cbBuffer ? E_FAIL : S_OK;
}

HRESULT SplitterOutputPin::Active() {
  HRESULT hr = CBaseOutputPin::Active();
  if (FAILED(hr) || !IsConnected()) return hr;
  hr = S_OK;
  m_queue = std::make_unique<COutputQueue>(GetConnected(), &hr, FALSE, TRUE);
  if (FAILED(hr)) m_queue.reset();
  else watchReturns(this);
  return hr;
}

HRESULT SplitterOutputPin::Inactive() {
  watchReturns(nullptr);
  m_queue.reset();
  return CBaseOutputPin::Inactive();
}

void SplitterOutputPin::watchReturns(IMemAllocatorNotifyCallbackTemp* notify) {
  ComPtr<IMemAllocatorCallbackTemp> callback;
  if (m_pAllocator && SUCCEEDED(m_pAllocator->QueryInterface(IID_IMemAllocatorCallbackTemp, callback.putVoid())))
    callback->SetNotify(notify);
}

STDMETHODIMP SplitterOutputPin::NotifyRelease() {
  m_splitter->bufferReturned();
  return S_OK;
}

HRESULT SplitterOutputPin::send(IMediaSample* sample) {
  if (!m_queue) {
    sample->Release();
    return VFW_E_NOT_COMMITTED;
  }
  return m_queue->Receive(sample);
}

void SplitterOutputPin::sendEndOfStream() {
  if (m_queue) m_queue->EOS();
}

void SplitterOutputPin::sendNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  if (m_queue) m_queue->NewSegment(start, stop, rate);
}

void SplitterOutputPin::releaseBuffers() {
  if (m_pAllocator) m_pAllocator->Decommit();
}

void SplitterOutputPin::flush() {
  if (m_queue) {
    m_queue->BeginFlush();
    m_queue->EndFlush();
  }
  if (m_pAllocator) m_pAllocator->Commit();
}

// ---- seeking: the parser's positions

STDMETHODIMP SplitterOutputPin::GetCapabilities(DWORD* pCapabilities) {
  CheckPointer(pCapabilities, E_POINTER);
  *pCapabilities = kCapabilities;
  return S_OK;
}

STDMETHODIMP SplitterOutputPin::GetDuration(LONGLONG* pDuration) {
  CheckPointer(pDuration, E_POINTER);
  *pDuration = m_splitter->duration();
  return S_OK;
}

STDMETHODIMP SplitterOutputPin::GetStopPosition(LONGLONG* pStop) {
  CheckPointer(pStop, E_POINTER);
  return m_splitter->positions(nullptr, pStop);
}

STDMETHODIMP SplitterOutputPin::GetCurrentPosition(LONGLONG* pCurrent) {
  CheckPointer(pCurrent, E_POINTER);
  return m_splitter->positions(pCurrent, nullptr);
}

STDMETHODIMP SplitterOutputPin::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop,
                                             DWORD dwStopFlags) {
  return m_splitter->setPositions(pCurrent, dwCurrentFlags, pStop, dwStopFlags);
}

STDMETHODIMP SplitterOutputPin::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
  return m_splitter->positions(pCurrent, pStop);
}

STDMETHODIMP SplitterOutputPin::SetRate(double dRate) { return m_splitter->setRate(dRate); }

STDMETHODIMP SplitterOutputPin::GetRate(double* pdRate) {
  CheckPointer(pdRate, E_POINTER);
  *pdRate = m_splitter->rate();
  return S_OK;
}

}  // namespace plat
