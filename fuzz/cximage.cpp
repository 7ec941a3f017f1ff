// Pictures as the thumbnail lists load them through the picture library: any bytes, read
// as a BMP, JPEG or PNG, load or are refused; what loads draws into a thumbnail and, for
// a JPEG, again at the next larger scale.
#include "FuzzMachine.h"

#include <vendor/cximage/CxImage.h>
#include <win32/gdi.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("picture", data, size);
  const std::string path = machine.programPath("picture");
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP canvas = CreateBitmap(200, 200, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, canvas);
  for (const unsigned long type : {CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_PNG}) {
    CxImage image(path.c_str(), type);
    if (!image.IsValid()) {
      fuzz::check(image.GetWidth() == 0 && image.GetHeight() == 0, "a refused picture has no size");
      continue;
    }
    fuzz::check(image.GetWidth() > 0 && image.GetWidth() <= CxImage::kMostSide, "the width lies within the cap");
    fuzz::check(image.GetHeight() > 0 && image.GetHeight() <= CxImage::kMostSide, "the height lies within the cap");
    image.Stretch(dc, 0, 0, 60, 60);
    image.Stretch(dc, 0, 0, 200, 150);
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return 0;
}
