// A transform that works on the samples it receives and passes the same buffers on.
// The input offers the downstream allocator upstream and the output offers the input's
// allocator downstream, so in the usual case one allocator serves the whole chain and
// nothing is copied. When the allocators differ, or the filter modifies data in
// read-only samples, each sample is copied into an output buffer first.
#pragma once

#include <dshow/baseclasses/CTransformFilter.h>

class CTransInPlaceFilter : public CTransformFilter {
 public:
  CTransInPlaceFilter(const char* pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT* phr, bool bModifiesData = true);

  // In-place: the output type is the input's, and the buffers are the input's.
  HRESULT GetMediaType(int, CMediaType*) override { return E_UNEXPECTED; }
  HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) override;
  HRESULT CheckTransform(const CMediaType*, const CMediaType*) override { return S_OK; }
  HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* pReceivePin) override;
  HRESULT Receive(IMediaSample* pSample) override;

  virtual HRESULT Transform(IMediaSample* pSample) = 0;

 protected:
  friend class CTransInPlaceInputPin;
  friend class CTransInPlaceOutputPin;

  CTransformInputPin* MakeInputPin() override;
  CTransformOutputPin* MakeOutputPin() override;

  // A copy of the sample in an output buffer, or null.
  IMediaSample* Copy(IMediaSample* pSource);
  // An output buffer for the sample, with its length and media type but not its data
  // (for a filter that writes its result there straight from the sample); or null.
  IMediaSample* OutputSampleFor(IMediaSample* pSource);
  // Whether Receive must work on a copy rather than on the sample itself.
  bool MustCopy() const;
  bool UsingDifferentAllocators() const;

  bool m_bModifiesData;
};
