// One cell of the channel mosaic: an owner-drawn button showing a still picture of the
// channel it last showed, with the channel's name "Channel<n>" at its top right. While
// its channel is the one tuned, the live picture is drawn into it (the cell is the video
// owner) and follows its size. A double click on a cell with a channel tunes it in the TV
// window and closes the mosaic.
#pragma once

#include <mfc/afxwin.h>

class CMosaicCell : public CWnd {
 public:
  static constexpr COLORREF kLabelColour = 0x19FA0F;
  static constexpr COLORREF kEmptyColour = 0xC0C0C0;

  explicit CMosaicCell(int index) : m_index(index) {}
  ~CMosaicCell() override;
  CMosaicCell(const CMosaicCell&) = delete;
  CMosaicCell& operator=(const CMosaicCell&) = delete;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetIndex() const { return m_index; }
  // -1 until the cell has shown a channel; negative numbers are refused.
  int GetChannel() const { return m_channel; }
  BOOL SetChannel(int channel);
  // The cell keeps a copy of the bitmap as its picture.
  BOOL SetPicture(HBITMAP picture);
  HBITMAP GetPicture() const { return m_picture; }

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  void Draw(HDC hdc);

  int m_index;
  int m_channel = -1;
  HBITMAP m_picture = nullptr;
  BOOL m_eraseOnce = TRUE;
};
