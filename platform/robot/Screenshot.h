// What the screen shows, as a test or a robot script sees it: the whole screen or one
// window saved as a PNG, and single pixels. The screen is the whole desktop: every
// program's windows, the tray and the taskbar notices (plat::Desktop).
//
// A window's picture is the window alone on the desktop: its own pixels (also where other
// windows cover it) through its window region, the desktop colour outside the region, as
// far as the pixels it keeps reach (WindowGraphics::pixelsOnScreen); a child's is the part
// of it that lies on its top-level window's pixels.
// dump() saves the screen for a failed test: into ORVANE_SCREENSHOT_DIR when set,
// otherwise the working folder, which under CTest is beside the test's log.
#pragma once

#include <win32/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace plat {

class Screenshot {
 public:
  static bool saveScreen(const std::filesystem::path& png);
  // False when the window does not exist or the file cannot be written.
  static bool saveWindow(HWND hwnd, const std::filesystem::path& png);
  // Screen coordinates; CLR_INVALID outside the screen.
  static COLORREF screenPixel(int x, int y);
  // Window coordinates, on the window's own picture; CLR_INVALID outside the picture.
  static COLORREF windowPixel(HWND hwnd, int x, int y);
  // The pixels of an area, row after row, read from one picture: far cheaper than a pixel
  // at a time, each of which takes a picture of its own. CLR_INVALID where the picture
  // does not reach (and for every pixel when the window does not exist).
  static std::vector<COLORREF> screenPixels(const RECT& area);
  static std::vector<COLORREF> windowPixels(HWND hwnd, const RECT& area);
  // The screen saved as "<name>.png"; returns the file written, empty on failure.
  static std::filesystem::path dump(const std::string& name);
};

}  // namespace plat
