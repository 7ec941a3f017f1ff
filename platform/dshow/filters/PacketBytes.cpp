#include <dshow/filters/PacketBytes.h>

extern "C" {
#include <libavutil/buffer.h>
}

#include <utility>

namespace plat {

PacketBytes& PacketBytes::operator=(PacketBytes&& other) noexcept {
  if (this != &other) {
    reset();
    m_ref = std::exchange(other.m_ref, nullptr);
  }
  return *this;
}

void PacketBytes::reset() { av_buffer_unref(&m_ref); }

}  // namespace plat
