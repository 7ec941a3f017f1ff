#include <win32/user/Window.h>

#include <algorithm>

namespace plat {

Window::Window(HWND handle, std::shared_ptr<const WindowClass> cls, DWORD threadId)
    : handle(handle), windowClass(std::move(cls)), threadId(threadId), proc(windowClass->proc) {
  extraBytes.resize(static_cast<std::size_t>(std::max(windowClass->windowExtra, 0)));
}

}  // namespace plat
