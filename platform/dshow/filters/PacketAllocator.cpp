#include <dshow/filters/PacketAllocator.h>

#include <dshow/filters/PacketSample.h>

#include <new>

namespace plat {

PacketAllocator::PacketAllocator(HRESULT* phr) : CBaseAllocator("packet allocator", nullptr, phr, TRUE, FALSE) {}

PacketAllocator::~PacketAllocator() {
  std::lock_guard guard(m_lock);
  if (m_lAllocated) Free();
}

// The packet goes before the sample is free again, outside the allocator's lock.
STDMETHODIMP PacketAllocator::ReleaseBuffer(IMediaSample* pSample) {
  CheckPointer(pSample, E_POINTER);
  static_cast<PacketSample*>(pSample)->giveBack();
  return CBaseAllocator::ReleaseBuffer(pSample);
}

HRESULT PacketAllocator::Alloc() {
  HRESULT hr = CBaseAllocator::Alloc();
  if (FAILED(hr)) return hr;
  if (m_lAllocated) Free();
  for (long i = 0; i < m_lCount; ++i) {
    auto* sample = new (std::nothrow) PacketSample(this, &hr, m_lSize);
    if (!sample) {
      Free();
      return E_OUTOFMEMORY;
    }
    AddFreeSample(sample);
    ++m_lAllocated;
  }
  return S_OK;
}

void PacketAllocator::Free() {
  for (CMediaSample* sample : m_lFree) delete sample;
  m_lFree.clear();
  m_lAllocated = 0;
}

}  // namespace plat
