#include <win32/gdi/image.h>

#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/PictureFile.h>
#include <win32/user/ResourceTable.h>

#include <system_error>
#include <vector>

namespace {

using plat::PixelFormat;
using plat::Surface;

// The picture as the bitmap LoadImage gives: pixels as decoded, or a DIB section.
HBITMAP bitmapFrom(plat::PictureFile::Picture picture, bool dibSection) {
  if (!dibSection)
    return static_cast<HBITMAP>(
        plat::GdiTable::instance().add(std::make_shared<plat::BitmapObject>(std::move(picture.pixels), false)));
  const Surface& from = picture.pixels;
  const PixelFormat format = from.isMono()             ? PixelFormat::Mono1
                             : picture.bitCount == 32 ? PixelFormat::Bgrx32
                                                      : PixelFormat::Bgr24;
  Surface dib(from.width(), from.height(), format, true);
  std::vector<plat::Pixel> row(static_cast<std::size_t>(from.width()));
  for (int y = 0; y < from.height(); ++y) {
    from.readSpan(0, y, from.width(), row.data());
    dib.writeSpan(0, y, from.width(), row.data());
  }
  return static_cast<HBITMAP>(plat::GdiTable::instance().add(std::make_shared<plat::BitmapObject>(std::move(dib), true)));
}

// A picture's bytes as LoadImage takes them: Windows bitmaps only.
HBITMAP bitmapFromBytes(std::span<const std::uint8_t> bytes, bool dibSection) {
  auto picture = plat::PictureFile::sniff(bytes) == plat::PictureFile::Format::Bmp ? plat::PictureFile::decode(bytes)
                                                                                      : std::nullopt;
  if (!picture) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return bitmapFrom(std::move(*picture), dibSection);
}

HBITMAP bitmapFromResource(HINSTANCE module, LPCSTR name, bool dibSection) {
  const plat::res::Blob* blob = plat::ResourceTable::bitmap(module, name);
  if (!blob) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return bitmapFromBytes(std::span<const std::uint8_t>(blob->data, blob->size), dibSection);
}

}  // namespace

HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
  return lpBitmapName ? bitmapFromResource(hInstance, lpBitmapName, false) : nullptr;
}

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
  const bool dibSection = (fuLoad & LR_CREATEDIBSECTION) != 0;
  if (!name || type != IMAGE_BITMAP) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (!(fuLoad & LR_LOADFROMFILE)) return bitmapFromResource(hInst, name, dibSection);
  if (IS_INTRESOURCE(name)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto path = plat::Machine::current().paths().toLinux(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const auto bytes = plat::PictureFile::readFile(path);
  if (!bytes) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return bitmapFromBytes(*bytes, dibSection);
}
