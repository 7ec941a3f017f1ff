// The ordinary allocator: one block of memory cut into cBuffers buffers of cbBuffer
// bytes each, aligned to cbAlign (a power of two) after cbPrefix bytes of prefix.
#pragma once

#include <dshow/baseclasses/CBaseAllocator.h>

#include <memory>

class CMemAllocator : public CBaseAllocator {
 public:
  CMemAllocator(const char* pName, LPUNKNOWN pUnk, HRESULT* phr);
  ~CMemAllocator() override;

  STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;

  static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

 protected:
  HRESULT Alloc() override;
  void Free() override;

 private:
  std::unique_ptr<BYTE[]> m_pBuffer;
};

// A new CMemAllocator with one reference for the caller.
HRESULT CreateMemoryAllocator(IMemAllocator** ppAllocator);
