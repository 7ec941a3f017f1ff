#include <win32/gdi/dc.h>

#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/RegionObject.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/gdi/object.h>

namespace {

using plat::DrawingContext;
using plat::GdiTable;

std::shared_ptr<DrawingContext> dcOf(HDC hdc) { return GdiTable::lookup<DrawingContext>(hdc); }

int regionKind(const plat::Region& region) { return static_cast<int>(region.shape()); }

// A DC setting: returns the previous value, or `failed` for a bad handle.
template <class T, class Member>
T exchange(HDC hdc, Member member, T value, T failed) {
  auto dc = dcOf(hdc);
  if (!dc) return failed;
  T previous = dc->state().*member;
  dc->state().*member = value;
  return previous;
}

template <class T, class Member>
T read(HDC hdc, Member member, T failed) {
  auto dc = dcOf(hdc);
  return dc ? dc->state().*member : failed;
}

BOOL exchangePoint(HDC hdc, POINT DrawingContext::State::*member, int x, int y, LPPOINT previous) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state().*member;
  dc->state().*member = POINT{x, y};
  return TRUE;
}

BOOL readPoint(HDC hdc, POINT DrawingContext::State::*member, LPPOINT out) {
  auto dc = dcOf(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->state().*member;
  return TRUE;
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !dcOf(hdc)) return nullptr;
  return static_cast<HDC>(GdiTable::instance().add(DrawingContext::createMemory()));
}

BOOL DeleteDC(HDC hdc) {
  if (!dcOf(hdc)) return FALSE;
  return GdiTable::instance().remove(hdc) ? TRUE : FALSE;
}

int SaveDC(HDC hdc) {
  auto dc = dcOf(hdc);
  return dc ? dc->save() : 0;
}

BOOL RestoreDC(HDC hdc, int nSavedDC) {
  auto dc = dcOf(hdc);
  if (!dc) return FALSE;
  if (!dc->restore(nSavedDC)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (!dcOf(hdc)) return 0;
  const plat::VirtualScreen& screen = plat::VirtualScreen::current();
  const int width = screen.width();
  const int height = screen.height();
  constexpr int kDpi = 96;
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return width * 254 / (kDpi * 10);
    case VERTSIZE:
      return height * 254 / (kDpi * 10);
    case HORZRES:
    case DESKTOPHORZRES:
      return width;
    case VERTRES:
    case DESKTOPVERTRES:
      return height;
    case BITSPIXEL:
      return plat::Machine::current().ini().intValue("Screen", "BitsPerPixel", 32);
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return kDpi;
    default:
      return 0;
  }
}

int SetMapMode(HDC hdc, int iMode) {
  if (iMode < MM_TEXT || iMode > MM_ANISOTROPIC) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return exchange(hdc, &DrawingContext::State::mapMode, iMode, 0);
}

int GetMapMode(HDC hdc) { return read(hdc, &DrawingContext::State::mapMode, 0); }

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return exchangePoint(hdc, &DrawingContext::State::windowOrg, x, y, lppt);
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppoint) { return readPoint(hdc, &DrawingContext::State::windowOrg, lppoint); }
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return exchangePoint(hdc, &DrawingContext::State::viewportOrg, x, y, lppt);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
  return readPoint(hdc, &DrawingContext::State::viewportOrg, lppoint);
}
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return exchangePoint(hdc, &DrawingContext::State::brushOrg, x, y, lppt);
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT lppt) { return readPoint(hdc, &DrawingContext::State::brushOrg, lppt); }

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  return exchange(hdc, &DrawingContext::State::textColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) { return read(hdc, &DrawingContext::State::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF color) {
  return exchange(hdc, &DrawingContext::State::bkColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) { return read(hdc, &DrawingContext::State::bkColor, CLR_INVALID); }
int SetTextCharacterExtra(HDC hdc, int extra) {
  return exchange(hdc, &DrawingContext::State::charExtra, extra, static_cast<int>(0x80000000));
}
int GetTextCharacterExtra(HDC hdc) { return read(hdc, &DrawingContext::State::charExtra, static_cast<int>(0x80000000)); }

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return exchange(hdc, &DrawingContext::State::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) { return read(hdc, &DrawingContext::State::bkMode, 0); }

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = dcOf(hdc);
  if (!dc) return ERROR;
  const plat::Region area(dc->toDevice(RECT{left, top, right, bottom}));
  const plat::Region& current = dc->state().clip ? *dc->state().clip : dc->clipRegion();
  dc->setClip(current.intersected(area));
  return regionKind(dc->clipRegion());
}

int SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  auto dc = dcOf(hdc);
  if (!dc) return ERROR;
  if (!hrgn) {
    if (mode != RGN_COPY) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    dc->setClip(std::nullopt);
    return regionKind(dc->clipRegion());
  }
  auto region = GdiTable::lookup<plat::RegionObject>(hrgn);
  if (!region) return ERROR;
  const plat::Region& given = region->region();
  // Without a clip region the whole visible area counts as the current one.
  const plat::Region current = dc->state().clip ? *dc->state().clip : dc->clipRegion();
  switch (mode) {
    case RGN_COPY:
      dc->setClip(given);
      break;
    case RGN_AND:
      dc->setClip(current.intersected(given));
      break;
    case RGN_OR:
      dc->setClip(current.united(given));
      break;
    case RGN_XOR:
      dc->setClip(current.xored(given));
      break;
    case RGN_DIFF:
      dc->setClip(current.subtracted(given));
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  return regionKind(dc->clipRegion());
}

int GetClipBox(HDC hdc, LPRECT lprect) {
  auto dc = dcOf(hdc);
  if (!dc || !lprect) return ERROR;
  const plat::Region& clip = dc->clipRegion();
  const RECT box = clip.bounds();
  const POINT a = dc->toLogical(POINT{box.left, box.top});
  const POINT b = dc->toLogical(POINT{box.right, box.bottom});
  *lprect = RECT{a.x, a.y, b.x, b.y};
  return regionKind(clip);
}
