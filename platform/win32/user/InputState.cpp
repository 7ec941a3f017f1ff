#include <win32/user/InputState.h>

#include <win32/user/input.h>
#include <win32/user/message.h>

namespace plat {

void InputState::press(int vk) {
  if (inRange(vk)) m_down[static_cast<std::size_t>(vk)] = true;
}

void InputState::release(int vk) {
  if (inRange(vk)) m_down[static_cast<std::size_t>(vk)] = false;
}

WPARAM InputState::mouseKeyFlags() const {
  WPARAM flags = 0;
  if (isDown(VK_LBUTTON)) flags |= MK_LBUTTON;
  if (isDown(VK_RBUTTON)) flags |= MK_RBUTTON;
  if (isDown(VK_MBUTTON)) flags |= MK_MBUTTON;
  if (isDown(VK_SHIFT)) flags |= MK_SHIFT;
  if (isDown(VK_CONTROL)) flags |= MK_CONTROL;
  return flags;
}

}  // namespace plat
