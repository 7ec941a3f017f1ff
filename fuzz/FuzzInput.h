// A fuzz input read as a stream of little fields: numbers taken from its front, zero past
// its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::size_t left() const { return m_size; }
  std::int32_t takeInt() {
    std::int32_t value = 0;
    take(&value, sizeof value);
    return value;
  }
  std::uint8_t takeByte() {
    std::uint8_t value = 0;
    take(&value, sizeof value);
    return value;
  }

 private:
  void take(void* out, std::size_t size) {
    const std::size_t n = m_size < size ? m_size : size;
    std::memcpy(out, m_data, n);
    m_data += n;
    m_size -= n;
  }

  const std::uint8_t* m_data;
  std::size_t m_size;
};

}  // namespace fuzz
