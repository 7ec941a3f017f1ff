#include <win32/gdi/icon.h>

#include <win32/error.h>
#include <win32/gdi/Blitter.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/IconTable.h>
#include <win32/user/metrics.h>

namespace {

using plat::IconTable;
using plat::Surface;

// A picture at another size (nearest pixel), in colour: a mask becomes black and white,
// whatever the colours of the context it is drawn on.
Surface resized(const Surface& from, int width, int height) {
  Surface to(width, height, plat::PixelFormat::Bgrx32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) to.setPixel(x, y, from.pixel(x * from.width() / width, y * from.height() / height));
  return to;
}

}  // namespace

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH, UINT diFlags) {
  auto dc = plat::GdiTable::lookup<plat::DrawingContext>(hdc);
  if (!dc) return FALSE;
  if (!hIcon) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  const auto icon = IconTable::instance().find(hIcon);
  if (!icon || !icon->image) return TRUE;  // a picture-less handle of the window system
  const bool systemSize = diFlags & DI_DEFAULTSIZE;
  const int width = cxWidth ? cxWidth : systemSize ? GetSystemMetrics(SM_CXICON) : icon->image->width();
  const int height = cyWidth ? cyWidth : systemSize ? GetSystemMetrics(SM_CYICON) : icon->image->height();
  const Surface image = resized(*icon->image, width, height);
  const Surface mask = resized(*icon->mask, width, height);
  const POINT at = dc->toDevice(xLeft, yTop);
  const RECT device{at.x, at.y, at.x + width, at.y + height};
  // The screen is kept where the mask is set, then the image is XORed on: an icon's
  // classic two steps.
  if (diFlags & DI_MASK) {
    const plat::Blitter::Source source{mask, 0, 0, plat::kWhitePixel};
    plat::Blitter::transfer(*dc, device, &source, 0x008800C6u);  // SRCAND
  }
  if (diFlags & DI_IMAGE) {
    const plat::Blitter::Source source{image, 0, 0, plat::kWhitePixel};
    plat::Blitter::transfer(*dc, device, &source, (diFlags & DI_MASK) ? 0x00660046u : 0x00CC0020u);  // SRCINVERT : SRCCOPY
  }
  return TRUE;
}

HICON CopyIcon(HICON hIcon) {
  if (!hIcon) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return nullptr;
  }
  return IconTable::instance().add(IconTable::instance().find(hIcon).value_or(IconTable::Icon{}));
}

BOOL DestroyIcon(HICON hIcon) {
  if (!hIcon) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return FALSE;
  }
  // The window system's shared icons and cursors are not destroyed.
  IconTable::instance().remove(hIcon);
  return TRUE;
}

BOOL DestroyCursor(HCURSOR hCursor) { return DestroyIcon(hCursor); }
