// The channel preview mosaic: sixteen cells in a 4 x 4 grid inside the TV window, each
// showing a channel. The TV device shows one live picture only, so the TV window walks the
// channel list (timer 400): the next channel is tuned and shown live in the next cell,
// and the cell it leaves keeps a still picture of its channel. The mosaic has a full
// screen of its own; the mouse over it wakes the TV window's control bar.
//
// Cell i lies at column i % 4 and row i / 4; cells are found by index, never by id (the
// four cells of a column share the id 1000 + column).
#pragma once

#include <mfc/CMap.h>
#include <mfc/afxwin.h>

class CMosaicCell;

class CChannelMosaicWnd : public CWnd {
 public:
  static constexpr int kColumns = 4;
  static constexpr int kCells = kColumns * kColumns;
  static constexpr COLORREF kBackground = 0xC0C0C0;

  CChannelMosaicWnd();
  ~CChannelMosaicWnd() override;
  CChannelMosaicWnd(const CChannelMosaicWnd&) = delete;
  CChannelMosaicWnd& operator=(const CChannelMosaicWnd&) = delete;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd);
  // 0 for a negative index or channel, or an index without a cell.
  BOOL SetCellChannel(int index, int channel);
  BOOL SetCellPicture(int index, HBITMAP picture);
  HWND GetCellWindow(int index) const;
  CMosaicCell* GetCell(int index) const;
  BOOL IsFullScreen() const { return m_fullScreen; }
  void ToggleFullScreen();
  void LayoutCells();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  CRect CellRect(int index) const;
  void EnterFullScreen();
  void LeaveFullScreen();

  CMap<int, int, CMosaicCell*, CMosaicCell*> m_cells;
  BOOL m_fullScreen = FALSE;
  WINDOWPLACEMENT m_savedPlacement{};
};
