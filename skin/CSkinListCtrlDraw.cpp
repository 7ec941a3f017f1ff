// CSkinListCtrl: drawing the rows cell by cell.
#include "skin/CSkinListCtrl.h"

#include "core/data/CChannelList.h"
#include "skin/SkinBitmap.h"

#include <mfc/wnd/afxgdi.h>

#include <algorithm>

namespace {

constexpr COLORREF kOutline = 0xC0D3DC;
constexpr COLORREF kGradientTop = 0xFFFFFF;
constexpr COLORREF kGradientBottom = 0x92CBE0;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
constexpr int kMarkSize = 6;

void Outline(CDC& dc, const CRect& rect, COLORREF color) {
  CPen pen(PS_SOLID, 1, color);
  CPen* old = dc.SelectObject(&pen);
  dc.MoveTo(rect.left, rect.top);
  dc.LineTo(rect.right, rect.top);
  dc.LineTo(rect.right, rect.bottom);
  dc.LineTo(rect.left, rect.bottom);
  dc.LineTo(rect.left, rect.top);
  dc.SelectObject(old);
}

// Top to bottom, the bottom row included, each channel kept to its low 8 bits.
void Gradient(CDC& dc, const CRect& rect, COLORREF top, COLORREF bottom) {
  const int height = rect.bottom - rect.top;
  const double span = height > 0 ? height : 1;
  const double steps[3] = {(GetRValue(bottom) - GetRValue(top)) / span, (GetGValue(bottom) - GetGValue(top)) / span,
                           (GetBValue(bottom) - GetBValue(top)) / span};
  for (int y = rect.top; y <= rect.bottom; ++y) {
    const int d = y - rect.top;
    const int r = (GetRValue(top) + static_cast<int>(steps[0] * d)) & 0xFF;
    const int g = (GetGValue(top) + static_cast<int>(steps[1] * d)) & 0xFF;
    const int b = (GetBValue(top) + static_cast<int>(steps[2] * d)) & 0xFF;
    CPen pen(PS_SOLID, 1, RGB(r, g, b));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(rect.left, y);
    dc.LineTo(rect.right, y);
    dc.SelectObject(old);
  }
}

void SkipMark(CDC& dc, const CRect& cell, COLORREF color) {
  const int left = cell.left + std::max(0, (cell.Width() - kMarkSize) / 2);
  const int top = cell.top + std::max(0, (cell.Height() - kMarkSize) / 2);
  const int right = left + kMarkSize;
  const int bottom = top + kMarkSize;
  CPen pen(PS_SOLID, 1, color);
  CPen* old = dc.SelectObject(&pen);
  dc.MoveTo(left + 1, top + 1);
  dc.LineTo(right, bottom);
  dc.MoveTo((left + right) / 2, top);
  dc.LineTo((left + right) / 2, bottom);
  dc.MoveTo(right - 1, top + 1);
  dc.LineTo(left + 1, bottom - 1);
  dc.MoveTo(left, (top + bottom) / 2);
  dc.LineTo(right, (top + bottom) / 2);
  dc.SelectObject(old);
}

void Text(CDC& dc, const CString& text, CRect rect, COLORREF color) {
  dc.SetTextColor(color);
  dc.DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

void CSkinListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_LISTVIEW || !(lpDrawItemStruct->itemAction & ODA_DRAWENTIRE)) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const int row = static_cast<int>(lpDrawItemStruct->itemID);
  const bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  const ChannelRecord* record = GetRowRecord(row);
  dc->SetBkMode(TRANSPARENT);
  for (int column = 0; column < kColumns; ++column) DrawCell(*dc, row, column, selected, record);
}

void CSkinListCtrl::DrawCell(CDC& dc, int nRow, int nColumn, bool selected, const ChannelRecord* record) {
  CRect cell;
  if (!GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, cell)) return;
  if (nColumn == 0) cell.right = cell.left + GetColumnWidth(0);
  const CString text = nColumn == 0 ? CString() : GetItemText(nRow, nColumn);
  const bool skipped = record && record->SkipFlag;
  const bool focused = selected && nRow == m_nFocusRow && nColumn == m_nFocusColumn;
  if (focused && nColumn == 1 && m_bComboActive) {
    // The open combo stands in for the cell.
    PlaceCombo();
    return;
  }

  if (!selected) {
    dc.FillSolidRect(&cell, RGB(0, 0, 0));
    Outline(dc, cell, kOutline);
    if (nColumn == 0 && skipped) SkipMark(dc, cell, RGB(255, 255, 255));
    else Text(dc, text, cell, RGB(255, 255, 255));
    return;
  }
  if (!focused || (nColumn > 0 && (!m_hImages[0] || !m_hImages[1]))) {
    Gradient(dc, cell, kGradientTop, kGradientBottom);
    Outline(dc, cell, kOutline);
    if (nColumn == 0 && skipped) SkipMark(dc, cell, focused ? kRed : kBlue);
    else Text(dc, text, cell, RGB(0, 0, 0));
    return;
  }
  if (nColumn == 0) {
    Outline(dc, cell, kOutline);
    cell.DeflateRect(1, 1);
    Gradient(dc, cell, kGradientTop, kGradientBottom);
    if (skipped) SkipMark(dc, cell, kRed);
    return;
  }
  // The focused cell: image 1 framed around it, image 2's inside stretched over the rest.
  DrawFrameBitmap(dc.GetSafeHdc(), cell, m_hImages[0], m_rcCellFrame, m_rcMargins.left, m_rcMargins.top,
                  m_rcMargins.right, m_rcMargins.bottom);
  cell.DeflateRect(m_rcMargins.left, m_rcMargins.top, m_rcMargins.right, m_rcMargins.bottom);
  const CRect inside(m_rcCellFrame.left + m_rcMargins.left, m_rcCellFrame.top + m_rcMargins.top,
                     m_rcCellFrame.right - m_rcMargins.right, m_rcCellFrame.bottom - m_rcMargins.bottom);
  if (HBITMAP part = CutBitmap(m_hImages[1], inside.left, inside.top, inside.Width(), inside.Height())) {
    dc.SetStretchBltMode(COLORONCOLOR);
    StretchWholeBitmap(dc.GetSafeHdc(), cell, part);
    ::DeleteObject(part);
  }
  Text(dc, text, cell, RGB(0, 0, 0));
}
