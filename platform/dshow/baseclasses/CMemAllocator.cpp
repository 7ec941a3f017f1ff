#include <dshow/baseclasses/CMemAllocator.h>

#include <new>

CMemAllocator::CMemAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseAllocator(pName, pUnk, phr, TRUE, FALSE) {}

CMemAllocator::~CMemAllocator() {
  std::lock_guard guard(m_lock);
  if (m_lAllocated) Free();
}

CUnknown* CMemAllocator::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) {
  return new (std::nothrow) CMemAllocator("CMemAllocator", pUnk, phr);
}

STDMETHODIMP CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
  CheckPointer(pRequest, E_POINTER);
  CheckPointer(pActual, E_POINTER);
  ALLOCATOR_PROPERTIES wanted = *pRequest;
  if (wanted.cbAlign == 0) wanted.cbAlign = 1;
  if ((wanted.cbAlign & (wanted.cbAlign - 1)) != 0) return VFW_E_BADALIGN;
  if (wanted.cbPrefix < 0) wanted.cbPrefix = 0;
  // Every buffer starts aligned after its prefix: round prefix + size up to the alignment.
  const long whole = wanted.cbBuffer + wanted.cbPrefix;
  const long rounded = (whole + wanted.cbAlign - 1) / wanted.cbAlign * wanted.cbAlign;
  wanted.cbBuffer = rounded - wanted.cbPrefix;
  return CBaseAllocator::SetProperties(&wanted, pActual);
}

HRESULT CMemAllocator::Alloc() {
  HRESULT hr = CBaseAllocator::Alloc();
  if (FAILED(hr)) return hr;
  if (m_lAllocated) Free();
  const long stride = m_lSize + m_lPrefix;
  const size_t total = static_cast<size_t>(stride) * static_cast<size_t>(m_lCount) + static_cast<size_t>(m_lAlignment);
  m_pBuffer.reset(new (std::nothrow) BYTE[total]);
  if (!m_pBuffer) return E_OUTOFMEMORY;
  // Align the first buffer's data; the stride keeps the others aligned.
  auto base = reinterpret_cast<std::uintptr_t>(m_pBuffer.get()) + static_cast<std::uintptr_t>(m_lPrefix);
  const auto align = static_cast<std::uintptr_t>(m_lAlignment > 0 ? m_lAlignment : 1);
  base = (base + align - 1) / align * align;
  return AddFreeSamples([&](long i) {
    auto* data = reinterpret_cast<BYTE*>(base) + static_cast<std::ptrdiff_t>(i) * stride;
    return new (std::nothrow) CMediaSample("CMemAllocator sample", this, &hr, data, m_lSize);
  });
}

void CMemAllocator::Free() {
  DeleteFreeSamples();
  m_pBuffer.reset();
}

HRESULT CreateMemoryAllocator(IMemAllocator** ppAllocator) {
  CheckPointer(ppAllocator, E_POINTER);
  *ppAllocator = nullptr;
  HRESULT hr = S_OK;
  auto* allocator = new (std::nothrow) CMemAllocator("CMemAllocator", nullptr, &hr);
  if (!allocator) return E_OUTOFMEMORY;
  return allocator->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(ppAllocator));
}
