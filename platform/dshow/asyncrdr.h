// Reading a file source's bytes from the pin downstream of it: the parsers pull the
// stream through IAsyncReader instead of having samples pushed to them.
#pragma once

#include <dshow/strmif.h>

// {56A868AA-0AD4-11CE-B03A-0020AF0BA770}
DEFINE_GUID(IID_IAsyncReader, 0x56A868AA, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
struct IAsyncReader : public IUnknown {
  STDMETHOD(RequestAllocator)(IMemAllocator* pPreferred, ALLOCATOR_PROPERTIES* pProps, IMemAllocator** ppActual) = 0;
  // The sample's start and stop times carry the byte range, in units of 10,000,000 per byte.
  STDMETHOD(Request)(IMediaSample* pSample, DWORD_PTR dwUser) = 0;
  STDMETHOD(WaitForNext)(DWORD dwTimeout, IMediaSample** ppSample, DWORD_PTR* pdwUser) = 0;
  STDMETHOD(SyncReadAligned)(IMediaSample* pSample) = 0;
  STDMETHOD(SyncRead)(LONGLONG llPosition, LONG lLength, BYTE* pBuffer) = 0;
  STDMETHOD(Length)(LONGLONG* pTotal, LONGLONG* pAvailable) = 0;
  STDMETHOD(BeginFlush)() = 0;
  STDMETHOD(EndFlush)() = 0;

 protected:
  ~IAsyncReader() = default;
};
