// A video output pin of the TV stick's capture filter ("Capture" or "Preview"): live
// frames of what the stick sees, painted as the pin's format asks (YUY2 or RGB24, from
// 160 x 120 to 720 x 576 in steps of 16 x 2, 2.5 to 60 frames a second), with the
// picture controls applied. The format is chosen through IAMStreamConfig before the pin
// connects (or, stopped, with a reconnect through the graph); the pin category is read
// through IKsPropertySet.
#pragma once

#include <dshow/amvideo.h>
#include <dshow/axextend.h>
#include <dshow/filters/CapturePin.h>

#include <vector>

namespace plat {

class CaptureHardware;

class TvVideoPin : public CapturePin {
 public:
  TvVideoPin(CSource* filter, LPCWSTR name, const GUID& category, CaptureHardware& stick);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;

  // IAMStreamConfig
  STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
  STDMETHODIMP GetNumberOfCapabilities(int* piCount, int* piSize) override;
  STDMETHODIMP GetStreamCaps(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) override;

  // A format of the given subtype (YUY2 or RGB24), size and frame interval.
  static CMediaType videoFormat(const GUID& subtype, LONG width, LONG height, REFERENCE_TIME frameInterval);

 protected:
  // The same picture in the other subtype.
  HRESULT GetMoreMediaTypes(int iPosition, CMediaType* pMediaType) override;
  REFERENCE_TIME period() override;
  HRESULT fillAt(IMediaSample* sample, REFERENCE_TIME start, std::uint64_t index) override;
  bool deviceReady() override;

 private:
  static CMediaType nativeFormat(CaptureHardware& stick);
  const VIDEOINFOHEADER* format();
  void applyPictureControls(BYTE* yuy2, int width, int height);
  static void sharpen(BYTE* yuy2, int width, int height, double amount);

  CaptureHardware& m_stick;
  std::vector<BYTE> m_scratch;  // a YUY2 picture on its way to RGB
};

}  // namespace plat
