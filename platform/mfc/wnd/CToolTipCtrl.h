// MFC's tooltip control: a "tooltips_class32" popup owned by the window it describes.
// Tools are added for a window (the whole window when no rectangle is given) and learn
// about the mouse through RelayEvent, which the owner calls from PreTranslateMessage.
#pragma once

#include <mfc/wnd/CWnd.h>
#include <win32/user/tooltip.h>

class CToolTipCtrl : public CWnd {
 public:
  CToolTipCtrl() = default;

  // A popup of the tooltip class owned by pParentWnd.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  void Activate(BOOL bActivate);
  // A tool over lpRectTool (client coordinates of pWnd) with id nIDTool; with no
  // rectangle, the whole window is the tool (nIDTool must then be 0).
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  int GetToolCount() const;
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void RelayEvent(LPMSG lpMsg);

 private:
  // The TOOLINFO naming the tool (pWnd, nIDTool) with the given text.
  static TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool, LPCTSTR lpszText);
};
