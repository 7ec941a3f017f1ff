// The keyboard and the pointer as the robot left them: which keys are down, where the
// pointer is, and which cursor shape was last set. Guarded by the user lock.
#pragma once

#include <win32/types.h>

#include <array>

namespace plat {

class InputState {
 public:
  bool isDown(int vk) const { return inRange(vk) && m_down[static_cast<std::size_t>(vk)]; }
  void press(int vk);
  void release(int vk);

  POINT cursor() const { return m_cursor; }
  void moveCursor(POINT pt) { m_cursor = pt; }
  HCURSOR cursorShape() const { return m_shape; }
  void setCursorShape(HCURSOR shape) { m_shape = shape; }

  // The MK_* flags of the buttons and modifier keys now down.
  WPARAM mouseKeyFlags() const;

 private:
  static bool inRange(int vk) { return vk >= 0 && vk < 256; }

  std::array<bool, 256> m_down{};
  POINT m_cursor{0, 0};
  HCURSOR m_shape = nullptr;
};

}  // namespace plat
