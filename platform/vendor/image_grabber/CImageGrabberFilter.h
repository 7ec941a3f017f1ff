// The image grabber: an in-place filter that leaves the video untouched and keeps the
// last picture that passed for IQxmImageGrabber. Starting the stream forgets the old
// picture, so a grab never returns one from an earlier run.
#pragma once

#include <vendor/image_grabber/QxmImageGrabber.h>

#include <dshow/baseclasses/streams.h>

#include <mutex>
#include <vector>

class CImageGrabberFilter : public CTransInPlaceFilter, public IQxmImageGrabber {
 public:
  static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

  DECLARE_IUNKNOWN
  STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckInputType(const CMediaType* mtIn) override;
  HRESULT Transform(IMediaSample* pSample) override;
  HRESULT StartStreaming() override;

  // IQxmImageGrabber
  STDMETHODIMP GetFrameBufferSize(long* size) override;
  STDMETHODIMP CopyFrame(BYTE* buffer, long size) override;
  STDMETHODIMP GetFrameWidth(long* width) override;
  STDMETHODIMP GetFrameHeight(long* height) override;

 private:
  CImageGrabberFilter(LPUNKNOWN pUnk, HRESULT* phr);

  // The connected format's header, or null while unconnected.
  const BITMAPINFOHEADER* connectedHeader();

  std::mutex m_frameLock;
  std::vector<BYTE> m_frame;
  bool m_hasFrame = false;
};
