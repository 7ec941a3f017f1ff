// The parser's own allocator: cBuffers samples that carry the demuxer's packets instead
// of buffers of cbBuffer bytes to copy them into. A copy per packet costs little, but
// each buffer's pages are touched fresh at every start, and a parser reading ahead
// keeps dozens of them in use; a packet's bytes are warm and come back to the heap.
// Only the parser fills its samples: a filter that passes them on (an in-place
// transform, a tee) uses the samples it is given and never asks this allocator for one.
#pragma once

#include <dshow/baseclasses/CBaseAllocator.h>

namespace plat {

class PacketAllocator : public CBaseAllocator {
 public:
  explicit PacketAllocator(HRESULT* phr);
  ~PacketAllocator() override;

  STDMETHODIMP ReleaseBuffer(IMediaSample* pSample) override;

 protected:
  HRESULT Alloc() override;
  void Free() override;
};

}  // namespace plat
