// The skinned window frame: any skin INI over a frame picture and a button strip, read by
// CSkinWindow and worn by a real window through sizing, activation, painting, hit tests
// and a caption, with part rectangles and button entries anywhere, inside the pictures or
// far outside them. Nothing reads outside a picture and no size overflows.
#include "FuzzMachine.h"

#include "skin/CSkinWindow.h"

#include <win32/gdi.h>
#include <win32/user.h>

#include <fstream>
#include <vector>

namespace {

// A 24-bit bottom-up BMP of `width` × `height` whose pixel colour `colour(x, y)` gives.
template <class Colour>
void WriteBitmap(const std::filesystem::path& file, int width, int height, Colour colour) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bytes(54 + static_cast<std::size_t>(stride) * height, 0);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      std::uint8_t* p = &bytes[54 + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

struct Pictures {
  explicit Pictures(const std::filesystem::path& folder) {
    // The mask colour at the corners, two looks one above the other.
    WriteBitmap(folder / "frame.bmp", 30, 75, [](int x, int y) {
      return (x < 3 && y % 40 < 3) ? RGB(255, 0, 255) : y < 40 ? RGB(0, 0, 200) : RGB(128, 128, 128);
    });
    WriteBitmap(folder / "bar.bmp", 80, 20, [](int x, int) { return x < 20 ? RGB(250, 250, 0) : RGB(200, 0, 0); });
  }
};

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  static const Pictures pictures(machine.programFolder());
  // Painting reads the screen: a small one keeps each run quick.
  static const bool smallScreen = [&] {
    machine.machine().ini().setValue("Screen", "Width", "320");
    machine.machine().ini().setValue("Screen", "Height", "240");
    return true;
  }();
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "FuzzSkinnedWindow";
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered || !smallScreen) return 0;
  machine.put("frame.ini", data, size);
  CSkinWindow skin;
  if (!skin.LoadSkin(machine.programPath("frame.ini").c_str())) return 0;
  HWND window = CreateWindowExA(0, "FuzzSkinnedWindow", "Orvane Video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
  skin.SetSkinnedWnd(window);
  if (skin.Attach(window)) {
    for (const SIZE size : {SIZE{300, 200}, SIZE{1, 1}, SIZE{0, 0}, SIZE{320, 240}}) {
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      SendMessageA(window, WM_NCACTIVATE, size.cx % 2, 0);
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      for (const POINT at : {POINT{12, 12}, POINT{160, 15}, POINT{309, 209}, POINT{-5, -5}})
        SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    }
    SetWindowTextA(window, "Channel 5");
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  DestroyWindow(window);
  return 0;
}
