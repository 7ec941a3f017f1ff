#include <mfc/wnd/CDC.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace {

std::mutex& permanentLock() {
  static std::mutex lock;
  return lock;
}

std::map<HDC, CDC*>& permanentMap() {
  static auto* map = new std::map<HDC, CDC*>;
  return *map;
}

std::map<HDC, std::unique_ptr<CDC>>& temporaries() {
  thread_local std::map<HDC, std::unique_ptr<CDC>> map;
  return map;
}

}  // namespace

CDC::~CDC() {
  if (m_hDC && !m_temporary) DeleteDC();
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
  if (!hDC) return nullptr;
  {
    std::lock_guard guard(permanentLock());
    if (auto it = permanentMap().find(hDC); it != permanentMap().end()) return it->second;
  }
  std::unique_ptr<CDC>& slot = temporaries()[hDC];
  if (!slot) {
    slot = std::make_unique<CDC>();
    slot->m_hDC = slot->m_hAttribDC = hDC;
    slot->m_temporary = true;
  }
  return slot.get();
}

void PASCAL CDC::DeleteTempMap() { temporaries().clear(); }

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || m_hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  std::lock_guard guard(permanentLock());
  permanentMap()[hDC] = this;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hdc = m_hDC;
  if (hdc && !m_temporary) {
    std::lock_guard guard(permanentLock());
    auto it = permanentMap().find(hdc);
    if (it != permanentMap().end() && it->second == this) permanentMap().erase(it);
  }
  m_hDC = m_hAttribDC = nullptr;
  return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen) {
  return pPen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  return pBrush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont) {
  return pFont ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return pBitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject))) : nullptr;
}

int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return pObject ? CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject)) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ stock = ::GetStockObject(nIndex);
  return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetWindowOrg() const {
  POINT p{};
  ::GetWindowOrgEx(m_hDC, &p);
  return p;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::GetViewportOrg() const {
  POINT p{};
  ::GetViewportOrgEx(m_hDC, &p);
  return p;
}

CPoint CDC::SetBrushOrg(int x, int y) {
  POINT old{};
  ::SetBrushOrgEx(m_hDC, x, y, &old);
  return old;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT old{};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  const RECT r{std::min(lpRect->left, lpRect->right), std::min(lpRect->top, lpRect->bottom),
               std::max(lpRect->left, lpRect->right), std::max(lpRect->top, lpRect->bottom)};
  HBRUSH brush = ::CreateSolidBrush(clr);
  ::FillRect(m_hDC, &r, brush);
  ::DeleteObject(brush);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  const RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
  return size;
}
