#include "skin/CoolScrollSkin.h"

#include <mfc/wnd/CWinApp.h>

const char* const CoolScrollSkin::kNames[kPieces] = {"SCROLL_UP",     "SCROLL_DOWN",   "SCROLL_LEFT",
                                                     "SCROLL_RIGHT",  "SCROLL_VTHUMB", "SCROLL_HTHUMB",
                                                     "SCROLL_VTRACK", "SCROLL_HTRACK", "SCROLL_CORNER"};

namespace {

struct Pictures {
  int users = 0;
  HBITMAP bitmaps[CoolScrollSkin::kPieces] = {};
  bool loaded = false;
};

Pictures& pictures() {
  static Pictures shared;
  return shared;
}

void FreeAll(Pictures& p) {
  for (HBITMAP& bitmap : p.bitmaps) {
    if (bitmap) ::DeleteObject(bitmap);
    bitmap = nullptr;
  }
  p.loaded = false;
}

}  // namespace

void CoolScrollSkin::Acquire() {
  Pictures& p = pictures();
  if (p.users++ > 0) return;
  p.loaded = true;
  for (int piece = 0; piece < kPieces; ++piece) {
    p.bitmaps[piece] = ::LoadBitmapA(AfxGetResourceHandle(), kNames[piece]);
    p.loaded = p.loaded && p.bitmaps[piece];
  }
  // All nine or none: a partial skin would mix two looks on one bar.
  if (!p.loaded) FreeAll(p);
}

void CoolScrollSkin::Release() {
  Pictures& p = pictures();
  if (p.users > 0 && --p.users == 0) FreeAll(p);
}

bool CoolScrollSkin::IsLoaded() { return pictures().loaded; }

void CoolScrollSkin::Draw(HDC hdc, Piece piece, State state, const RECT& rect) {
  const HBITMAP bitmap = pictures().bitmaps[piece];
  BITMAP info{};
  if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int frames = piece == kCorner ? 1 : 3;
  const int width = info.bmWidth / frames;
  const int frame = piece == kCorner ? 0 : state;
  HDC source = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(source, bitmap);
  const int previous = ::SetStretchBltMode(hdc, COLORONCOLOR);
  ::StretchBlt(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, frame * width, 0, width,
               info.bmHeight, SRCCOPY);
  ::SetStretchBltMode(hdc, previous);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}
