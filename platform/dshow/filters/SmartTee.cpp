#include <dshow/filters/SmartTee.h>

#include <dshow/baseclasses/CBaseInputPin.h>
#include <dshow/baseclasses/CBaseOutputPin.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace plat {

namespace {
const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes},
                                 {L"Capture", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes},
                                 {L"Preview", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kTypes}};
}  // namespace

const AMOVIESETUP_FILTER SmartTee::kSetup = {&CLSID_SmartTee, L"Smart Tee", MERIT_DO_NOT_USE, 3, kPins};

class SmartTee::OutputPin : public CBaseOutputPin {
 public:
  OutputPin(SmartTee* tee, LPCWSTR name, bool preview)
      : CBaseOutputPin("Smart Tee output", tee, &tee->m_lock, nullptr, name), m_tee(tee), m_previewPin(preview) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;
  // The capture output offers the input's allocator, so its samples pass untouched.
  HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
  // Passes the sample on (capture) or a copy of it (preview).
  HRESULT pass(IMediaSample* sample);

 private:
  SmartTee* m_tee;
  bool m_previewPin;
};

class SmartTee::InputPin : public CBaseInputPin {
 public:
  explicit InputPin(SmartTee* tee) : CBaseInputPin("Smart Tee input", tee, &tee->m_lock, nullptr, L"Input"), m_tee(tee) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    for (OutputPin* out : {m_tee->m_capture.get(), m_tee->m_preview.get()})
      if (out->IsConnected() && out->GetConnected()->QueryAccept(pmt) != S_OK) return S_FALSE;
    return S_OK;
  }
  STDMETHODIMP Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    const HRESULT captured = m_tee->m_capture->IsConnected() ? m_tee->m_capture->pass(sample) : S_OK;
    if (m_tee->m_preview->IsConnected()) m_tee->m_preview->pass(sample);
    return captured;
  }
  STDMETHODIMP EndOfStream() override {
    for (OutputPin* out : {m_tee->m_capture.get(), m_tee->m_preview.get()})
      if (out->IsConnected()) out->DeliverEndOfStream();
    return S_OK;
  }
  STDMETHODIMP BeginFlush() override {
    CBaseInputPin::BeginFlush();
    for (OutputPin* out : {m_tee->m_capture.get(), m_tee->m_preview.get()})
      if (out->IsConnected()) out->DeliverBeginFlush();
    return S_OK;
  }
  STDMETHODIMP EndFlush() override {
    for (OutputPin* out : {m_tee->m_capture.get(), m_tee->m_preview.get()})
      if (out->IsConnected()) out->DeliverEndFlush();
    return CBaseInputPin::EndFlush();
  }
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override {
    CBasePin::NewSegment(start, stop, rate);
    for (OutputPin* out : {m_tee->m_capture.get(), m_tee->m_preview.get()})
      if (out->IsConnected()) out->DeliverNewSegment(start, stop, rate);
    return S_OK;
  }
  IMemAllocator* allocator() const { return m_pAllocator; }

 private:
  SmartTee* m_tee;
};

HRESULT SmartTee::OutputPin::CheckMediaType(const CMediaType* pmt) {
  InputPin* input = m_tee->m_input.get();
  if (!input->IsConnected()) return VFW_E_NOT_CONNECTED;
  return *pmt == input->CurrentMediaType() ? S_OK : S_FALSE;
}

HRESULT SmartTee::OutputPin::GetMediaType(int iPosition, CMediaType* pMediaType) {
  InputPin* input = m_tee->m_input.get();
  if (iPosition < 0) return E_INVALIDARG;
  if (!input->IsConnected() || iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pMediaType = input->CurrentMediaType();
  return S_OK;
}

HRESULT SmartTee::OutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) {
  ALLOCATOR_PROPERTIES wanted = *pProps;
  ALLOCATOR_PROPERTIES upstream{};
  if (IMemAllocator* in = m_tee->m_input->allocator()) in->GetProperties(&upstream);
  wanted.cBuffers = m_previewPin ? 2 : (upstream.cBuffers > 0 ? upstream.cBuffers : 2);
  wanted.cbBuffer = upstream.cbBuffer > 0 ? upstream.cbBuffer : static_cast<long>(m_tee->m_input->CurrentMediaType().GetSampleSize());
  if (wanted.cbBuffer <= 0) wanted.cbBuffer = 1;
  ALLOCATOR_PROPERTIES actual{};
  return pAlloc->SetProperties(&wanted, &actual);
}

HRESULT SmartTee::OutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) {
  IMemAllocator* upstream = m_tee->m_input->allocator();
  if (!m_previewPin && upstream && SUCCEEDED(pPin->NotifyAllocator(upstream, TRUE))) {
    upstream->AddRef();
    *ppAlloc = upstream;
    return S_OK;
  }
  return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
}

HRESULT SmartTee::OutputPin::pass(IMediaSample* sample) {
  if (!m_previewPin) return Deliver(sample);
  IMediaSample* copy = nullptr;
  if (FAILED(GetDeliveryBuffer(&copy, nullptr, nullptr, AM_GBF_NOWAIT))) return S_OK;  // no buffer free: drop
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  sample->GetPointer(&from);
  copy->GetPointer(&to);
  const long length = std::min(sample->GetActualDataLength(), copy->GetSize());
  std::memcpy(to, from, static_cast<size_t>(length));
  copy->SetActualDataLength(length);
  copy->SetTime(nullptr, nullptr);
  copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
  const HRESULT hr = Deliver(copy);
  copy->Release();
  return hr;
}

SmartTee::SmartTee(LPUNKNOWN outer, HRESULT* phr)
    : CBaseFilter("Smart Tee", outer, &m_lock, CLSID_SmartTee, phr),
      m_input(std::make_unique<InputPin>(this)),
      m_capture(std::make_unique<OutputPin>(this, L"Capture", false)),
      m_preview(std::make_unique<OutputPin>(this, L"Preview", true)) {}

SmartTee::~SmartTee() = default;

CUnknown* SmartTee::CreateInstance(LPUNKNOWN outer, HRESULT* phr) { return new (std::nothrow) SmartTee(outer, phr); }

CBasePin* SmartTee::GetPin(int n) {
  switch (n) {
    case 0: return m_input.get();
    case 1: return m_capture.get();
    case 2: return m_preview.get();
    default: return nullptr;
  }
}

}  // namespace plat
