// A sample of the PacketAllocator: it has no memory of its own but carries a packet's
// bytes, lent by the parser, until it comes back. Free, it is empty and its size is the
// largest packet it may carry.
#pragma once

#include <dshow/baseclasses/CMediaSample.h>
#include <dshow/filters/PacketBytes.h>

namespace plat {

class PacketSample : public CMediaSample {
 public:
  PacketSample(CBaseAllocator* allocator, HRESULT* phr, long largest);

  // Carries `size` bytes at `data`, which `bytes` keeps alive.
  void lend(PacketBytes bytes, BYTE* data, long size);
  // Lets go of the packet, on the way back to the allocator.
  void giveBack();

 private:
  PacketBytes m_bytes;
  long m_largest;
};

}  // namespace plat
