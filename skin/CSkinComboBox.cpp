#include "skin/CSkinComboBox.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"

BEGIN_MESSAGE_MAP(CSkinComboBox, CComboBox)
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_TIMER()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_CAPTURECHANGED()
  ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
  ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
  ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
END_MESSAGE_MAP()

CSkinComboBox::CSkinComboBox()
    : m_hImages{},
      m_bArrowHover(FALSE),
      m_bFaceHover(FALSE),
      m_bArrowPressed(FALSE),
      m_bFacePressed(FALSE),
      m_crText(0x000000),
      m_crHighlight(0xFF0000),
      m_nCurSel(-1) {}

CSkinComboBox::~CSkinComboBox() {
  for (HBITMAP& image : m_hImages) ReleaseBitmap(image);
}

BOOL CSkinComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CComboBox::Create(dwStyle | CBS_OWNERDRAWVARIABLE, rect, pParentWnd, nID);
}

void CSkinComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  ModifyStyle(0, CBS_OWNERDRAWVARIABLE);
}

LRESULT CSkinComboBox::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  if (!wParam) return DefWindowProc(WM_NCCALCSIZE, wParam, lParam);
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  params->rgrc[0].right += kClientWidening;
  params->rgrc[1] = params->rgrc[0];
  return 0;
}

void CSkinComboBox::AddItem(LPCSTR lpszText) {
  m_texts.Add(lpszText ? lpszText : "");
  AddString("");
}

void CSkinComboBox::Reset() {
  ResetContent();
  m_texts.RemoveAll();
  m_nCurSel = -1;
  DrawFace();
}

int CSkinComboBox::SetCurSel(int nIndex) {
  const int result = CComboBox::SetCurSel(nIndex);
  m_nCurSel = CComboBox::GetCurSel();
  DrawFace();
  return result;
}

void CSkinComboBox::GetItemText(int nIndex, CString& strText) const {
  if (nIndex >= 0 && nIndex < m_texts.GetSize()) strText = m_texts[nIndex];
}

int CSkinComboBox::Find(LPCSTR lpszText) const {
  for (int i = 0; i < m_texts.GetSize(); ++i)
    if (m_texts[i].CompareNoCase(lpszText ? lpszText : "") == 0) return i;
  return -1;
}

void CSkinComboBox::SetBitmaps(const HBITMAP (&hSources)[7], const RECT (&rcSources)[7]) {
  for (int i = 0; i < 7; ++i) {
    ReleaseBitmap(m_hImages[i]);
    const CRect rect(rcSources[i]);
    m_hImages[i] = CutBitmap(hSources[i], rect.left, rect.top, rect.Width(), rect.Height());
  }
}

CRect CSkinComboBox::GetArrowRect() const {
  CRect arrow;
  GetClientRect(&arrow);
  arrow.DeflateRect(2, 4);
  arrow.left = arrow.right - ::GetSystemMetrics(SM_CXHTHUMB);
  return arrow;
}

CRect CSkinComboBox::GetFaceRect() const {
  const CRect arrow = GetArrowRect();
  return CRect(2, 4, arrow.left, arrow.bottom);
}

bool CSkinComboBox::HasFocus() const {
  HWND focus = ::GetFocus();
  return focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
}

HFONT CSkinComboBox::MakeFont(int nHeight) const {
  const LOGFONTA logFont = MakeSkinFont(nHeight, 0);
  return ::CreateFontIndirectA(&logFont);
}

// The arrow image is clipped to the normal image's shape (white is outside), scaled to
// the arrow rectangle.
void CSkinComboBox::DrawArrow(CDC& dc) const {
  const CRect arrow = GetArrowRect();
  if (!m_hImages[0] || arrow.IsRectEmpty()) return;
  HBITMAP shape = ::CreateCompatibleBitmap(dc.GetSafeHdc(), arrow.Width(), arrow.Height());
  {
    CDC canvas;
    canvas.CreateCompatibleDC(&dc);
    HGDIOBJ old = canvas.SelectObject(shape);
    canvas.SetStretchBltMode(COLORONCOLOR);
    StretchWholeBitmap(canvas.GetSafeHdc(), CRect(0, 0, arrow.Width(), arrow.Height()), m_hImages[0]);
    canvas.SelectObject(old);
  }
  HRGN region = BitmapToRegion(shape, RGB(255, 255, 255));
  ::DeleteObject(shape);
  HBITMAP image = m_hImages[0];
  if (!IsWindowEnabled()) image = m_hImages[3];
  else if (m_bArrowHover) image = m_bArrowPressed ? m_hImages[2] : m_hImages[1];
  if (region) {
    ::OffsetRgn(region, arrow.left, arrow.top);
    ::SelectClipRgn(dc.GetSafeHdc(), region);
  }
  dc.SetStretchBltMode(COLORONCOLOR);
  StretchWholeBitmap(dc.GetSafeHdc(), arrow, image ? image : m_hImages[0]);
  ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
  if (region) ::DeleteObject(region);
}

void CSkinComboBox::DrawFace() {
  if (!m_hWnd) return;
  CClientDC dc(this);
  CRect client;
  GetClientRect(&client);
  const CRect face = GetFaceRect();
  const bool alternate = m_bFacePressed && m_hImages[5];
  const CRect& margins = alternate ? m_rcAltMargins : m_rcMargins;
  DrawFrameBitmap(dc.GetSafeHdc(), face, m_hImages[alternate ? 5 : 4], alternate ? m_rcAltFrame : m_rcFrame,
                  margins.left, margins.top, margins.right, margins.bottom);
  DrawArrow(dc);
  m_nCurSel = CComboBox::GetCurSel();
  CString text;
  GetItemText(m_nCurSel, text);
  if (text.IsEmpty()) return;
  const CRect arrow = GetArrowRect();
  CRect textRect(3, 2, arrow.left - 1, arrow.bottom);
  HFONT font = MakeFont(client.Height() - 9);
  HGDIOBJ old = dc.SelectObject(font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(HasFocus() || m_bFaceHover ? m_crHighlight : m_crText);
  dc.DrawText(text, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  dc.SelectObject(old);
  ::DeleteObject(font);
}

void CSkinComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYSCREEN) * 26 / 768);
}

void CSkinComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemState & ODS_COMBOBOXEDIT) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const int saved = dc->SaveDC();
  const CRect rect(lpDrawItemStruct->rcItem);
  const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  if (selected && m_hImages[6]) {
    dc->SetStretchBltMode(COLORONCOLOR);
    StretchWholeBitmap(dc->GetSafeHdc(), rect, m_hImages[6]);
  } else {
    dc->SetBkMode(TRANSPARENT);
    dc->FillSolidRect(&rect, dc->GetBkColor());
  }
  const int index = static_cast<int>(lpDrawItemStruct->itemID);
  CString text;
  GetItemText(index, text);
  if (index >= 0 && !text.IsEmpty()) {
    HFONT font = MakeFont(rect.Height() - 3);
    HGDIOBJ old = dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(selected ? m_crHighlight : m_crText);
    CRect textRect = rect;
    dc->DrawText(text, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SelectObject(old);
    ::DeleteObject(font);
  }
  dc->RestoreDC(saved);
}

void CSkinComboBox::OnPaint() {
  ValidateRect(nullptr);
  DrawFace();
}

LRESULT CSkinComboBox::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

void CSkinComboBox::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bArrowHover && GetArrowRect().PtInRect(point)) {
    m_bArrowHover = TRUE;
    SetTimer(kArrowTimer, kHoverCheckMs, nullptr);
    DrawFace();
  }
  if (!m_bFaceHover && GetFaceRect().PtInRect(point)) {
    m_bFaceHover = TRUE;
    SetTimer(kFaceTimer, kHoverCheckMs, nullptr);
    DrawFace();
  }
  CComboBox::OnMouseMove(nFlags, point);
}

void CSkinComboBox::OnTimer(UINT_PTR nIDEvent) {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  if (nIDEvent == kArrowTimer && !GetArrowRect().PtInRect(cursor)) {
    KillTimer(kArrowTimer);
    m_bArrowHover = FALSE;
    DrawFace();
  } else if (nIDEvent == kFaceTimer && !GetFaceRect().PtInRect(cursor)) {
    KillTimer(kFaceTimer);
    m_bFaceHover = FALSE;
    DrawFace();
  }
}

void CSkinComboBox::OnLButtonDown(UINT nFlags, CPoint point) {
  const BOOL arrow = GetArrowRect().PtInRect(point);
  const BOOL face = GetFaceRect().PtInRect(point);
  if (arrow != m_bArrowPressed || face != m_bFacePressed) {
    m_bArrowPressed = arrow;
    m_bFacePressed = face;
    DrawFace();
  }
  CComboBox::OnLButtonDown(nFlags, point);
}

void CSkinComboBox::OnLButtonUp(UINT nFlags, CPoint point) {
  m_bArrowPressed = m_bFacePressed = FALSE;
  DrawFace();
  CComboBox::OnLButtonUp(nFlags, point);
}

// The list took the button's release while it was down, so closing it ends the press.
BOOL CSkinComboBox::OnCloseUp() {
  if (m_bArrowPressed || m_bFacePressed) {
    m_bArrowPressed = m_bFacePressed = FALSE;
    DrawFace();
  }
  return FALSE;
}

void CSkinComboBox::OnSetFocus(CWnd* pOldWnd) {
  CComboBox::OnSetFocus(pOldWnd);
  DrawFace();
}

void CSkinComboBox::OnKillFocus(CWnd* pNewWnd) {
  CComboBox::OnKillFocus(pNewWnd);
  DrawFace();
}

void CSkinComboBox::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CComboBox::OnWindowPosChanged(lpwndpos);
  DrawFace();
}

void CSkinComboBox::OnCaptureChanged(CWnd* pWnd) {
  CComboBox::OnCaptureChanged(pWnd);
  DrawFace();
}

LRESULT CSkinComboBox::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
  LRESULT code = DefWindowProc(WM_GETDLGCODE, wParam, lParam);
  if (::GetKeyState(VK_RETURN) < 0) code |= DLGC_WANTALLKEYS;
  return code;
}
