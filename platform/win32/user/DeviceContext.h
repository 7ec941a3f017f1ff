// The device context a window hands out for painting, as a placeholder: it knows its
// window and nothing else yet. GDI replaces it with a real drawing surface.
#pragma once

#include <win32/types.h>

namespace plat {

class DeviceContext {
 public:
  static HDC open(HWND window);
  static bool close(HDC hdc);
};

}  // namespace plat
