// Pictures (BMP, JPEG, GIF, PNG) as skins and the picture browser load them, and the
// key-colour regions made from them: any bytes load or are refused; a region never reaches
// outside its picture.
#include "FuzzMachine.h"

#include "skin/SkinBitmap.h"

#include <win32/gdi.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("picture.bmp", data, size);
  const std::string path = machine.programPath("picture.bmp");
  if (HANDLE loaded = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))
    DeleteObject(loaded);
  HBITMAP bitmap = nullptr;
  SIZE extent{};
  if (!LoadPictureFile(path.c_str(), bitmap, extent)) return 0;
  // The key colour is the picture's top-left pixel, as skins choose it.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF key = GetPixel(dc, 0, 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  for (const COLORREF tolerance : {COLORREF{0}, RGB(16, 16, 16)}) {
    if (HRGN region = BitmapToRegion(bitmap, key, tolerance)) {
      RECT box{};
      GetRgnBox(region, &box);
      fuzz::check(box.left >= 0 && box.top >= 0 && box.right <= extent.cx && box.bottom <= extent.cy,
                  "the region lies inside the picture");
      DeleteObject(region);
    }
  }
  ReleaseBitmap(bitmap);
  return 0;
}
