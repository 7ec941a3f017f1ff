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
  return AddFreeSamples([&](long) -> CMediaSample* { return new (std::nothrow) PacketSample(this, &hr, m_lSize); });
}

void PacketAllocator::Free() { DeleteFreeSamples(); }

}  // namespace plat
