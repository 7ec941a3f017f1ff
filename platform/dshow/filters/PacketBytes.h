// One reference to the bytes of a packet libavformat read: moved from the demuxer to the
// sample that carries them downstream, and given up when that sample comes back, so a
// packet's bytes are never copied on their way to the decoder.
#pragma once

struct AVBufferRef;

namespace plat {

class PacketBytes {
 public:
  PacketBytes() = default;
  // Takes over the caller's reference.
  explicit PacketBytes(AVBufferRef* adopted) : m_ref(adopted) {}
  ~PacketBytes() { reset(); }
  PacketBytes(PacketBytes&& other) noexcept : m_ref(other.m_ref) { other.m_ref = nullptr; }
  PacketBytes& operator=(PacketBytes&& other) noexcept;
  PacketBytes(const PacketBytes&) = delete;
  PacketBytes& operator=(const PacketBytes&) = delete;

  bool empty() const { return m_ref == nullptr; }
  void reset();

 private:
  AVBufferRef* m_ref = nullptr;
};

}  // namespace plat
