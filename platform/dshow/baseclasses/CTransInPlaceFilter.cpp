#include <dshow/baseclasses/CTransInPlaceFilter.h>

#include <dshow/baseclasses/CTransInPlaceInputPin.h>
#include <dshow/baseclasses/CTransInPlaceOutputPin.h>

#include <cstring>
#include <new>

CTransInPlaceFilter::CTransInPlaceFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT*,
                                         bool bModifiesData)
    : CTransformFilter(pName, pUnk, clsid), m_bModifiesData(bModifiesData) {}

CTransformInputPin* CTransInPlaceFilter::MakeInputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) CTransInPlaceInputPin("TransInPlace input pin", this, &hr, L"Input");
}

CTransformOutputPin* CTransInPlaceFilter::MakeOutputPin() {
  HRESULT hr = S_OK;
  return new (std::nothrow) CTransInPlaceOutputPin("TransInPlace output pin", this, &hr, L"Output");
}

HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) {
  // Used only when copying: match the upstream allocator's buffers.
  ALLOCATOR_PROPERTIES wanted = *pProperties;
  auto* input = static_cast<CTransInPlaceInputPin*>(m_pInput);
  if (IMemAllocator* upstream = input->PeekAllocator()) {
    ALLOCATOR_PROPERTIES upstreamProps{};
    if (SUCCEEDED(upstream->GetProperties(&upstreamProps))) {
      if (upstreamProps.cBuffers > wanted.cBuffers) wanted.cBuffers = upstreamProps.cBuffers;
      if (upstreamProps.cbBuffer > wanted.cbBuffer) wanted.cbBuffer = upstreamProps.cbBuffer;
      if (upstreamProps.cbAlign > wanted.cbAlign) wanted.cbAlign = upstreamProps.cbAlign;
    }
  }
  if (wanted.cBuffers < 1) wanted.cBuffers = 1;
  if (wanted.cbBuffer < 1) wanted.cbBuffer = static_cast<long>(m_pInput->CurrentMediaType().GetSampleSize());
  if (wanted.cbBuffer < 1) wanted.cbBuffer = 1;
  ALLOCATOR_PROPERTIES actual{};
  return pAlloc->SetProperties(&wanted, &actual);
}

HRESULT CTransInPlaceFilter::CompleteConnect(PIN_DIRECTION dir, IPin*) {
  // Both sides carry one type: when the other side is already connected with another
  // type, have the graph reconnect it with the new one.
  CBasePin* other = dir == PINDIR_INPUT ? static_cast<CBasePin*>(m_pOutput) : static_cast<CBasePin*>(m_pInput);
  CBasePin* self = dir == PINDIR_INPUT ? static_cast<CBasePin*>(m_pInput) : static_cast<CBasePin*>(m_pOutput);
  if (other->IsConnected() && m_pGraph && other->CurrentMediaType() != self->CurrentMediaType())
    return m_pGraph->Reconnect(other);
  return S_OK;
}

bool CTransInPlaceFilter::UsingDifferentAllocators() const {
  return static_cast<CTransInPlaceInputPin*>(m_pInput)->PeekAllocator() !=
         static_cast<CTransInPlaceOutputPin*>(m_pOutput)->PeekAllocator();
}

IMediaSample* CTransInPlaceFilter::OutputSampleFor(IMediaSample* pSource) {
  IMediaSample* dest = nullptr;
  if (FAILED(InitializeOutputSample(pSource, &dest))) return nullptr;
  const long length = pSource->GetActualDataLength();
  if (length > dest->GetSize()) {
    dest->Release();
    return nullptr;
  }
  dest->SetActualDataLength(length);
  AM_MEDIA_TYPE* type = nullptr;
  if (pSource->GetMediaType(&type) == S_OK) {
    dest->SetMediaType(type);
    DeleteMediaType(type);
  }
  return dest;
}

IMediaSample* CTransInPlaceFilter::Copy(IMediaSample* pSource) {
  IMediaSample* dest = OutputSampleFor(pSource);
  if (!dest) return nullptr;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  pSource->GetPointer(&from);
  dest->GetPointer(&to);
  std::memcpy(to, from, static_cast<size_t>(pSource->GetActualDataLength()));
  return dest;
}

bool CTransInPlaceFilter::MustCopy() const {
  return UsingDifferentAllocators() || (m_bModifiesData && m_pInput->IsReadOnly());
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* pSample) {
  if (!MustCopy()) {
    const HRESULT hr = Transform(pSample);
    if (hr == S_FALSE) {
      m_bSampleSkipped = TRUE;
      return S_OK;
    }
    if (FAILED(hr)) return hr;
    m_bSampleSkipped = FALSE;
    return m_pOutput->Deliver(pSample);
  }
  IMediaSample* own = Copy(pSample);
  if (!own) return E_UNEXPECTED;
  HRESULT hr = Transform(own);
  if (hr == S_OK) {
    hr = m_pOutput->Deliver(own);
    m_bSampleSkipped = FALSE;
  } else if (hr == S_FALSE) {
    m_bSampleSkipped = TRUE;
    hr = S_OK;
  }
  own->Release();
  return hr;
}
