#include <win32/gdi/imagelist.h>

#include <win32/error.h>
#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/Blitter.h>
#include <win32/gdi/DragImage.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/ImageList.h>
#include <win32/user/window.h>

#include <cstdint>
#include <vector>

namespace {

using plat::ImageList;
using plat::Pixel;
using plat::Surface;

ImageList* listOf(HIMAGELIST himl) {
  ImageList* list = ImageList::find(himl);
  if (!list) SetLastError(ERROR_INVALID_HANDLE);
  return list;
}

// Where the drag image is placed from: the locked window's top-left, or the screen's.
POINT originOf(HWND hwndLock) {
  RECT r{};
  if (hwndLock && GetWindowRect(hwndLock, &r)) return POINT{r.left, r.top};
  return POINT{0, 0};
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
  if (cx <= 0 || cy <= 0 || cInitial < 0 || cGrow < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return ImageList::add(std::make_unique<ImageList>(cx, cy, (flags & ILC_MASK) != 0));
}

BOOL ImageList_Destroy(HIMAGELIST himl) { return ImageList::destroy(himl) ? TRUE : FALSE; }

int ImageList_GetImageCount(HIMAGELIST himl) {
  ImageList* list = listOf(himl);
  return list ? list->count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  ImageList* list = listOf(himl);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->width();
  *cy = list->height();
  return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  ImageList* list = listOf(himl);
  auto image = plat::GdiTable::lookup<plat::BitmapObject>(hbmImage);
  if (!list || !image) return -1;
  auto mask = hbmMask ? plat::GdiTable::lookup<plat::BitmapObject>(hbmMask) : nullptr;
  return list->append(image->surface(), mask ? &mask->surface() : nullptr);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
  ImageList* list = listOf(himl);
  auto image = plat::GdiTable::lookup<plat::BitmapObject>(hbmImage);
  if (!list || !image) return -1;
  if (!list->masked()) return list->append(image->surface(), nullptr);
  // The mask marks the mask colour, which turns black in the caller's bitmap itself.
  Surface& pixels = image->surface();
  Surface mask(pixels.width(), pixels.height(), plat::PixelFormat::Mono1);
  const Pixel key = plat::pixelFromColorRef(crMask);
  std::vector<Pixel> row(static_cast<std::size_t>(pixels.width()));
  std::vector<Pixel> bits(row.size());
  for (int y = 0; y < pixels.height(); ++y) {
    pixels.readSpan(0, y, pixels.width(), row.data());
    for (std::size_t x = 0; x < row.size(); ++x) {
      bits[x] = row[x] == key ? plat::kWhitePixel : plat::kBlackPixel;
      if (row[x] == key) row[x] = plat::kBlackPixel;
    }
    pixels.writeSpan(0, y, pixels.width(), row.data());
    mask.writeSpan(0, y, pixels.width(), bits.data());
  }
  return list->append(pixels, &mask);
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount) {
  ImageList* list = listOf(himl);
  if (!list || uNewCount > static_cast<UINT>(INT32_MAX)) return FALSE;
  list->resize(static_cast<int>(uNewCount));
  return TRUE;
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask) {
  ImageList* list = listOf(himl);
  auto image = plat::GdiTable::lookup<plat::BitmapObject>(hbmImage);
  if (!list || !image) return FALSE;
  auto mask = hbmMask ? plat::GdiTable::lookup<plat::BitmapObject>(hbmMask) : nullptr;
  if (list->replace(i, image->surface(), mask ? &mask->surface() : nullptr)) return TRUE;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  ImageList* list = listOf(himl);
  if (!list) return FALSE;
  if (i == -1) {
    list->resize(0);
    return TRUE;
  }
  if (list->remove(i)) return TRUE;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
  ImageList* list = listOf(himl);
  auto dc = plat::GdiTable::lookup<plat::DrawingContext>(hdcDst);
  if (!list || !dc) return FALSE;
  if (i < 0 || i >= list->count()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const POINT at = dc->toDevice(x, y);
  const RECT device{at.x, at.y, at.x + list->width(), at.y + list->height()};
  const Surface image = list->image(i);
  const auto mask = list->mask(i);
  if ((fStyle & ILD_MASK) && mask) {
    const plat::Blitter::Source source{*mask, 0, 0, plat::kWhitePixel};
    plat::Blitter::transfer(*dc, device, &source, 0x00CC0020u);  // SRCCOPY
    return TRUE;
  }
  const plat::Blitter::Source source{image, 0, 0, plat::kWhitePixel};
  if (mask && !(fStyle & ILD_IMAGE))
    plat::Blitter::transferMasked(*dc, device, source, *mask);
  else
    plat::Blitter::transfer(*dc, device, &source, 0x00CC0020u);  // SRCCOPY
  return TRUE;
}

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot) {
  ImageList* list = listOf(himlTrack);
  if (!list || iTrack < 0 || iTrack >= list->count()) return FALSE;
  plat::DragImage::current().begin(list->image(iTrack), list->mask(iTrack), POINT{dxHotspot, dyHotspot});
  return TRUE;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y) {
  plat::DragImage& drag = plat::DragImage::current();
  if (!drag.isDragging()) return FALSE;
  drag.enter(originOf(hwndLock), POINT{x, y});
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  plat::DragImage& drag = plat::DragImage::current();
  if (!drag.isDragging()) return FALSE;
  drag.move(POINT{x, y});
  return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
  plat::DragImage::current().hide();
  return TRUE;
}

void ImageList_EndDrag() { plat::DragImage::current().end(); }
