#include "skin/SkinBitmap.h"

#include <com/globalmem.h>
#include <com/objbase.h>
#include <com/olectl.h>
#include <win32/file.h>
#include <win32/handleapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Rectangles go to ExtCreateRegion in blocks: one call with tens of thousands of
// rectangles would make one huge region record, and joining blocks keeps it small.
constexpr std::size_t kRectanglesPerRegion = 2000;

struct ByteRange {
  BYTE low;
  BYTE high;
  bool Contains(BYTE value) const { return value >= low && value <= high; }
};

ByteRange RangeOfByte(COLORREF color, COLORREF tolerance, int shift) {
  const int low = static_cast<int>((color >> shift) & 0xFF);
  const int high = std::min(255, low + static_cast<int>((tolerance >> shift) & 0xFF));
  return {static_cast<BYTE>(low), static_cast<BYTE>(high)};
}

// Joins the collected rectangles to `hResult` (creating it on first use) and empties them.
void FlushRectangles(std::vector<RECT>& rects, RECT& bound, HRGN& hResult) {
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, bound};
  std::memcpy(data.data(), &header, sizeof header);
  if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
  HRGN hBlock = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
  if (hResult) {
    CombineRgn(hResult, hResult, hBlock, RGN_OR);
    DeleteObject(hBlock);
  } else {
    hResult = hBlock;
  }
  rects.clear();
  bound = RECT{0, 0, 0, 0};
}

void AddRectangle(std::vector<RECT>& rects, RECT& bound, const RECT& rect) {
  if (rects.empty()) {
    bound = rect;
  } else {
    bound.left = std::min(bound.left, rect.left);
    bound.top = std::min(bound.top, rect.top);
    bound.right = std::max(bound.right, rect.right);
    bound.bottom = std::max(bound.bottom, rect.bottom);
  }
  rects.push_back(rect);
}

// Walks the 32-bit bottom-up copy of a bitmap from its top row down and collects one
// rectangle per run of opaque pixels.
HRGN RegionFromPixels(const BYTE* pBits, int cx, int cy, COLORREF cTransparent, COLORREF cTolerance) {
  const ByteRange blue = RangeOfByte(cTransparent, cTolerance, 0);
  const ByteRange green = RangeOfByte(cTransparent, cTolerance, 8);
  const ByteRange red = RangeOfByte(cTransparent, cTolerance, 16);
  const auto transparent = [&](const BYTE* pixel) {
    return blue.Contains(pixel[0]) && green.Contains(pixel[1]) && red.Contains(pixel[2]);
  };
  const std::size_t stride = static_cast<std::size_t>(cx) * 4;
  std::vector<RECT> rects;
  RECT bound{0, 0, 0, 0};
  HRGN hResult = nullptr;
  for (int y = 0; y < cy; ++y) {
    const BYTE* row = pBits + static_cast<std::size_t>(cy - 1 - y) * stride;
    for (int x = 0; x < cx; ++x) {
      const int x0 = x;
      while (x < cx && !transparent(row + static_cast<std::size_t>(x) * 4)) ++x;
      if (x > x0) {
        AddRectangle(rects, bound, RECT{x0, y, x, y + 1});
        if (rects.size() == kRectanglesPerRegion) FlushRectangles(rects, bound, hResult);
      }
    }
  }
  FlushRectangles(rects, bound, hResult);
  return hResult;
}

// The whole file in a movable global memory block; NULL when it cannot be read.
HGLOBAL ReadFileToGlobal(LPCSTR lpszPath, DWORD& dwSize) {
  HANDLE hFile = CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return nullptr;
  dwSize = GetFileSize(hFile, nullptr);
  HGLOBAL hGlobal = nullptr;
  if (dwSize != INVALID_FILE_SIZE && dwSize > 0) hGlobal = GlobalAlloc(GMEM_MOVEABLE, dwSize);
  if (hGlobal) {
    DWORD dwRead = 0;
    const BOOL bRead = ReadFile(hFile, GlobalLock(hGlobal), dwSize, &dwRead, nullptr);
    GlobalUnlock(hGlobal);
    if (!bRead || dwRead != dwSize) hGlobal = GlobalFree(hGlobal);
  }
  CloseHandle(hFile);
  return hGlobal;
}

}  // namespace

BOOL LoadPictureFile(LPCSTR lpszPath, HBITMAP& hBitmap, SIZE& size) {
  DWORD dwSize = 0;
  HGLOBAL hGlobal = ReadFileToGlobal(lpszPath, dwSize);
  if (!hGlobal) return FALSE;
  IStream* pStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
    GlobalFree(hGlobal);
    return FALSE;
  }
  IPicture* pPicture = nullptr;
  const HRESULT hr = OleLoadPicture(pStream, static_cast<LONG>(dwSize), FALSE, IID_IPicture,
                                    reinterpret_cast<LPVOID*>(&pPicture));
  pStream->Release();
  if (FAILED(hr) || !pPicture) return FALSE;

  // The picture deletes its bitmap with its last reference: keep a copy.
  OLE_HANDLE handle = 0;
  SHORT type = PICTYPE_NONE;
  HBITMAP hCopy = nullptr;
  BITMAP bm{};
  if (SUCCEEDED(pPicture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(pPicture->get_Handle(&handle))) {
    const auto hPictureBitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (GetObject(hPictureBitmap, sizeof bm, &bm)) hCopy = CutBitmap(hPictureBitmap, 0, 0, bm.bmWidth, bm.bmHeight);
  }
  pPicture->Release();
  if (!hCopy) return FALSE;
  if (hBitmap) DeleteObject(hBitmap);
  hBitmap = hCopy;
  size.cx = bm.bmWidth;
  size.cy = bm.bmHeight;
  return TRUE;
}

HBITMAP CutBitmap(HBITMAP hSource, int x, int y, int cx, int cy) {
  if (!hSource || cx <= 0 || cy <= 0) return nullptr;
  HDC hScreenDC = GetDC(nullptr);
  HBITMAP hImage = hScreenDC ? CreateCompatibleBitmap(hScreenDC, cx, cy) : nullptr;
  HDC hSourceDC = hScreenDC ? CreateCompatibleDC(hScreenDC) : nullptr;
  HDC hImageDC = hScreenDC ? CreateCompatibleDC(hScreenDC) : nullptr;
  if (hImage && hSourceDC && hImageDC) {
    HGDIOBJ hOldSource = SelectObject(hSourceDC, hSource);
    HGDIOBJ hOldImage = SelectObject(hImageDC, hImage);
    SetStretchBltMode(hImageDC, COLORONCOLOR);
    StretchBlt(hImageDC, 0, 0, cx, cy, hSourceDC, x, y, cx, cy, SRCCOPY);
    SelectObject(hImageDC, hOldImage);
    SelectObject(hSourceDC, hOldSource);
  } else if (hImage) {
    DeleteObject(hImage);
    hImage = nullptr;
  }
  if (hSourceDC) DeleteDC(hSourceDC);
  if (hImageDC) DeleteDC(hImageDC);
  if (hScreenDC) ReleaseDC(nullptr, hScreenDC);
  return hImage;
}

void StretchWholeBitmap(HDC hdc, const RECT& rcDest, HBITMAP hBitmap) {
  BITMAP bm{};
  if (!hdc || !hBitmap || !GetObject(hBitmap, sizeof bm, &bm)) return;
  HDC hSourceDC = CreateCompatibleDC(hdc);
  if (!hSourceDC) return;
  HGDIOBJ hOld = SelectObject(hSourceDC, hBitmap);
  StretchBlt(hdc, rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top, hSourceDC, 0, 0,
             bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(hSourceDC, hOld);
  DeleteDC(hSourceDC);
}

void DrawMaskedBitmap(HDC hdc, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc, HBITMAP hMask) {
  if (!hdc || !hImage) return;
  HDC hSourceDC = CreateCompatibleDC(hdc);
  if (!hSourceDC) return;
  HGDIOBJ hOld = nullptr;
  if (hMask) {
    hOld = SelectObject(hSourceDC, hMask);
    BitBlt(hdc, x, y, cx, cy, hSourceDC, xSrc, ySrc, SRCAND);
    SelectObject(hSourceDC, hImage);
  } else {
    hOld = SelectObject(hSourceDC, hImage);
  }
  BitBlt(hdc, x, y, cx, cy, hSourceDC, xSrc, ySrc, SRCPAINT);
  SelectObject(hSourceDC, hOld);
  DeleteDC(hSourceDC);
}

void ReleaseBitmap(HBITMAP& hBitmap) {
  if (hBitmap) DeleteObject(hBitmap);
  hBitmap = nullptr;
}

HRGN BitmapToRegion(HBITMAP hBitmap, COLORREF cTransparent, COLORREF cTolerance) {
  BITMAP bm{};
  if (!hBitmap || !GetObject(hBitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  // A 32-bit bottom-up section is scanned where its bits lie; any other bitmap is read out
  // once as such rows, with no drawing in between.
  DIBSECTION section{};
  if (bm.bmBits && bm.bmBitsPixel == 32 && GetObject(hBitmap, sizeof section, &section) == sizeof section &&
      section.dsBmih.biHeight > 0 && section.dsBmih.biCompression == BI_RGB)
    return RegionFromPixels(static_cast<const BYTE*>(bm.bmBits), bm.bmWidth, bm.bmHeight, cTransparent, cTolerance);

  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = bm.bmHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> pixels(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight * 4);
  HDC hdc = CreateCompatibleDC(nullptr);
  if (!hdc) return nullptr;
  const int rows = GetDIBits(hdc, hBitmap, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
  DeleteDC(hdc);
  if (rows != bm.bmHeight) return nullptr;
  return RegionFromPixels(pixels.data(), bm.bmWidth, bm.bmHeight, cTransparent, cTolerance);
}

void DrawFrameCentre(HDC hdc, const RECT& rcDest, HBITMAP hSource, const RECT& rcSource, int nLeft, int nTop,
                     int nRight, int nBottom) {
  HBITMAP hCentre = CutBitmap(hSource, rcSource.left + nLeft, rcSource.top + nTop,
                              rcSource.right - rcSource.left - nLeft - nRight, rcSource.bottom - rcSource.top - nTop - nBottom);
  if (!hCentre) return;
  const RECT inside{rcDest.left + nLeft, rcDest.top + nTop, rcDest.right - nRight, rcDest.bottom - nBottom};
  const int nOldMode = SetStretchBltMode(hdc, COLORONCOLOR);
  StretchWholeBitmap(hdc, inside, hCentre);
  SetStretchBltMode(hdc, nOldMode);
  DeleteObject(hCentre);
}

void DrawFrameBitmap(HDC hdc, const RECT& rcDest, HBITMAP hSource, const RECT& rcSource, int nLeft, int nTop,
                     int nRight, int nBottom) {
  if (!hdc || !hSource) return;
  const RECT& d = rcDest;
  const RECT& s = rcSource;
  // Source and destination of each edge strip, in drawing order: top, left, right, bottom.
  const RECT strips[4][2] = {
      {{s.left, s.top, s.right, s.top + nTop}, {d.left, d.top, d.right, d.top + nTop}},
      {{s.left, s.top + nTop, s.left + nLeft, s.bottom - nBottom}, {d.left, d.top + nTop, d.left + nLeft, d.bottom - nBottom}},
      {{s.right - nRight, s.top + nTop, s.right, s.bottom - nBottom},
       {d.right - nRight, d.top + nTop, d.right, d.bottom - nBottom}},
      {{s.left, s.bottom - nBottom, s.right, s.bottom}, {d.left, d.bottom - nBottom, d.right, d.bottom}},
  };

  IntersectClipRect(hdc, d.left, d.top, d.right, d.bottom);
  HDC hSourceDC = CreateCompatibleDC(hdc);
  HDC hStripDC = CreateCompatibleDC(hdc);
  if (hSourceDC && hStripDC) {
    HGDIOBJ hOldSource = SelectObject(hSourceDC, hSource);
    const int nOldMode = SetStretchBltMode(hdc, HALFTONE);
    SetBrushOrgEx(hdc, 0, 0, nullptr);
    for (const auto& strip : strips) {
      const RECT& from = strip[0];
      const RECT& to = strip[1];
      const int cx = from.right - from.left;
      const int cy = from.bottom - from.top;
      // Each strip is copied out first so that the filter never blends in its neighbours.
      HBITMAP hStrip = CreateCompatibleBitmap(hdc, cx, cy);
      if (!hStrip) break;
      HGDIOBJ hOldStrip = SelectObject(hStripDC, hStrip);
      BitBlt(hStripDC, 0, 0, cx, cy, hSourceDC, from.left, from.top, SRCCOPY);
      StretchBlt(hdc, to.left, to.top, to.right - to.left, to.bottom - to.top, hStripDC, 0, 0, cx, cy, SRCCOPY);
      SelectObject(hStripDC, hOldStrip);
      DeleteObject(hStrip);
    }
    SetStretchBltMode(hdc, nOldMode);
    SelectObject(hSourceDC, hOldSource);
  }
  if (hSourceDC) DeleteDC(hSourceDC);
  if (hStripDC) DeleteDC(hStripDC);
  SelectClipRgn(hdc, nullptr);
}
