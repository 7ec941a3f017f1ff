#include <dshow/filters/PacketSample.h>

#include <utility>

namespace plat {

PacketSample::PacketSample(CBaseAllocator* allocator, HRESULT* phr, long largest)
    : CMediaSample("packet sample", allocator, phr, nullptr, largest), m_largest(largest) {}

void PacketSample::lend(PacketBytes bytes, BYTE* data, long size) {
  m_bytes = std::move(bytes);
  SetPointer(data, size);
}

void PacketSample::giveBack() {
  m_bytes.reset();
  SetPointer(nullptr, m_largest);
}

}  // namespace plat
