// The image grabber "Talvik_Image Grabber" ("Filter/QXM_ImageGrabber.ax") and its own
// interface. The filter passes video through unchanged and keeps a copy of the last
// picture that passed, which the interface hands out.
#pragma once

#include <com/unknwn.h>

// {9532157F-0C5F-4EB3-A85F-6167DE76290D}
DEFINE_GUID(CLSID_QxmImageGrabber, 0x9532157F, 0x0C5F, 0x4EB3, 0xA8, 0x5F, 0x61, 0x67, 0xDE, 0x76, 0x29, 0x0D);
// {3FF64EF3-D0E5-4CEF-B0C5-675B7FD6F818}
DEFINE_GUID(IID_IQxmImageGrabber, 0x3FF64EF3, 0xD0E5, 0x4CEF, 0xB0, 0xC5, 0x67, 0x5B, 0x7F, 0xD6, 0xF8, 0x18);

// CopyFrame's answer when no picture has passed since the filter last started.
#define QXM_GRAB_NO_NEW_FRAME static_cast<HRESULT>(10000)

struct IQxmImageGrabber : public IUnknown {
  // The bytes one picture of the connected format takes. E_FAIL while unconnected.
  STDMETHOD(GetFrameBufferSize)(long* size) = 0;
  // Copies the last picture into `buffer` of `size` bytes: S_OK; QXM_GRAB_NO_NEW_FRAME
  // when none has passed since the filter started; E_FAIL while unconnected;
  // E_INVALIDARG when the buffer is too small.
  STDMETHOD(CopyFrame)(BYTE* buffer, long size) = 0;
  // The connected picture's size in pixels. E_FAIL while unconnected.
  STDMETHOD(GetFrameWidth)(long* width) = 0;
  STDMETHOD(GetFrameHeight)(long* height) = 0;

 protected:
  ~IQxmImageGrabber() = default;
};
