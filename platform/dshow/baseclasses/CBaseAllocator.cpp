#include <dshow/baseclasses/CBaseAllocator.h>

#include <utility>

CBaseAllocator::CBaseAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr, BOOL, BOOL)
    : CUnknown(pName, pUnk, phr) {}

CBaseAllocator::~CBaseAllocator() {
  if (m_pNotify) m_pNotify->Release();
}

STDMETHODIMP CBaseAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMemAllocator || riid == IID_IMemAllocatorCallbackTemp)
    return GetInterface(static_cast<IMemAllocatorCallbackTemp*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
  CheckPointer(pRequest, E_POINTER);
  CheckPointer(pActual, E_POINTER);
  std::lock_guard guard(m_lock);
  if (m_bCommitted) return VFW_E_ALREADY_COMMITTED;
  if (m_lAllocated != static_cast<long>(m_lFree.size())) return VFW_E_BUFFERS_OUTSTANDING;
  *pActual = *pRequest;
  m_lCount = pRequest->cBuffers;
  m_lSize = pRequest->cbBuffer;
  m_lAlignment = pRequest->cbAlign;
  m_lPrefix = pRequest->cbPrefix;
  m_bChanged = TRUE;
  return S_OK;
}

STDMETHODIMP CBaseAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps) {
  CheckPointer(pProps, E_POINTER);
  std::lock_guard guard(m_lock);
  pProps->cBuffers = m_lCount;
  pProps->cbBuffer = m_lSize;
  pProps->cbAlign = m_lAlignment;
  pProps->cbPrefix = m_lPrefix;
  return S_OK;
}

STDMETHODIMP CBaseAllocator::Commit() {
  std::lock_guard guard(m_lock);
  if (m_bCommitted) return S_OK;
  m_bDecommitInProgress = FALSE;
  // Buffers kept from an earlier commit are reused unless the properties changed.
  if (m_lAllocated == 0 || m_bChanged) {
    if (m_lAllocated != static_cast<long>(m_lFree.size())) return VFW_E_BUFFERS_OUTSTANDING;
    const HRESULT hr = Alloc();
    if (FAILED(hr)) return hr;
  }
  m_bCommitted = TRUE;
  return S_OK;
}

STDMETHODIMP CBaseAllocator::Decommit() {
  {
    std::lock_guard guard(m_lock);
    if (!m_bCommitted) return S_OK;
    m_bCommitted = FALSE;
    if (m_lAllocated == static_cast<long>(m_lFree.size())) {
      Free();
    } else {
      m_bDecommitInProgress = TRUE;
    }
    m_freed.changed();
  }
  m_freed.wake();
  return S_OK;
}

HRESULT CBaseAllocator::Alloc() {
  if (m_lCount <= 0 || m_lSize <= 0) return VFW_E_SIZENOTSET;
  m_bChanged = FALSE;
  return S_OK;
}

void CBaseAllocator::DeleteFreeSamples() {
  for (CMediaSample* sample : m_lFree) delete sample;
  m_lFree.clear();
  m_lAllocated = 0;
}

STDMETHODIMP CBaseAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD dwFlags) {
  CheckPointer(ppBuffer, E_POINTER);
  *ppBuffer = nullptr;
  CMediaSample* sample = nullptr;
  {
    // The other side (a sample coming back) holds the lock only for moments.
    std::unique_lock guard(m_lock, std::defer_lock);
    plat::WakeSignal::lockSoon(guard);
    for (;;) {
      if (!m_bCommitted) return VFW_E_NOT_COMMITTED;
      if (!m_lFree.empty()) break;
      if (dwFlags & AM_GBF_NOWAIT) return VFW_E_TIMEOUT;
      m_freed.wait(guard, [this] { return !m_bCommitted || !m_lFree.empty(); });
    }
    sample = m_lFree.back();
    m_lFree.pop_back();
  }
  // The sample keeps its allocator alive until it comes back.
  AddRef();
  sample->m_cRef = 1;
  *ppBuffer = sample;
  return S_OK;
}

STDMETHODIMP CBaseAllocator::ReleaseBuffer(IMediaSample* pSample) {
  CheckPointer(pSample, E_POINTER);
  bool wake = false;
  IMemAllocatorNotifyCallbackTemp* notify = nullptr;
  {
    std::unique_lock guard(m_lock, std::defer_lock);
    plat::WakeSignal::lockSoon(guard);
    m_lFree.push_back(static_cast<CMediaSample*>(pSample));
    if (m_bDecommitInProgress && m_lAllocated == static_cast<long>(m_lFree.size())) {
      m_bDecommitInProgress = FALSE;
      Free();
    }
    wake = m_freed.changed();
    notify = m_pNotify;
    if (notify) notify->AddRef();
  }
  if (wake) m_freed.wake();
  if (notify) {
    notify->NotifyRelease();
    notify->Release();
  }
  Release();
  return S_OK;
}

STDMETHODIMP CBaseAllocator::SetNotify(IMemAllocatorNotifyCallbackTemp* pNotify) {
  if (pNotify) pNotify->AddRef();
  IMemAllocatorNotifyCallbackTemp* previous = nullptr;
  {
    std::lock_guard guard(m_lock);
    previous = std::exchange(m_pNotify, pNotify);
  }
  if (previous) previous->Release();
  return S_OK;
}

STDMETHODIMP CBaseAllocator::GetFreeCount(LONG* plBuffersFree) {
  CheckPointer(plBuffersFree, E_POINTER);
  std::lock_guard guard(m_lock);
  *plBuffersFree = static_cast<LONG>(m_lFree.size());
  return S_OK;
}

long CBaseAllocator::OutstandingCount() {
  std::lock_guard guard(m_lock);
  return m_lAllocated - static_cast<long>(m_lFree.size());
}
