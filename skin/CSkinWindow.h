// A skinned non-client area for an ordinary top-level window: a nine-part frame cut from
// one frame image in an active and an inactive look, three caption buttons drawn from a
// state image (kept hidden: nothing shows them), a caption text, an optional window shape
// cut from the frame parts by a mask colour, and a bar of skin buttons along the bottom
// of the client area whose clicks act on the controller. It hooks the window as a
// CSubclassWnd and answers the non-client messages itself while a skin is loaded.
//
// Tiling skips parts of no size, so a skin with a missing or empty part rectangle still
// paints and shapes the rest.
#pragma once

#include "skin/CSubclassWnd.h"

#include <mfc/CPtrArray.h>

class CIniFile;
class CSkinButton;

class CSkinWindow : public CSubclassWnd {
 public:
  // Hit codes of the caption buttons, beside the platform's HT* codes.
  static constexpr int kHitMinimize = 256;
  static constexpr int kHitMaximize = 257;
  static constexpr int kHitClose = 258;
  // Sent to the skinned window when a caption button is released over it.
  static constexpr UINT UM_SYS_MINIMIZE = 1657;
  static constexpr UINT UM_SYS_MAXIMIZE = 1658;
  static constexpr UINT UM_SYS_CLOSE = 1659;
  // Sent to the return window after "RETURN_BUTTON" shows it.
  static constexpr UINT UM_RETURN = 1077;
  // The bar band: bitmap resource 186 stretched into the client area's bottom 28 pixels.
  static constexpr int kBarBandBitmap = 186;
  static constexpr int kBarBandHeight = 28;
  static constexpr int kFirstBarButtonId = 5300;
  static constexpr int kBarDesignWidth = 320;

  CSkinWindow();
  ~CSkinWindow() override;

  BOOL LoadSkin(LPCSTR lpszPath);
  BOOL Attach(HWND hWnd);
  void SetSkinnedWnd(HWND hWnd) { m_hSkinnedWnd = hWnd; }
  void SetReturnWnd(HWND hWnd) { m_hReturnWnd = hWnd; }
  void CreateShapeButtons();
  void OnShapeButton(int nId);

  BOOL IsLoaded() const { return m_bLoaded; }
  BOOL IsActive() const { return m_bActive; }
  CString GetCaption() const { return m_strCaption; }
  // Window coordinates.
  int HitTest(CPoint point) const;
  int GetButtonCount() const { return static_cast<int>(m_buttons.GetSize()); }
  CSkinButton* GetButton(int nIndex) const;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum Slot { TopLeft, MiddleTop, TopRight, MiddleLeft, Center, MiddleRight, BottomLeft, MiddleBottom, BottomRight,
              kSlots };
  struct CaptionButton {
    int nOffsetRight = 0;
    int nOffsetTop = 0;
    CRect rcNormal, rcOver, rcDown, rcDisabled;
  };

  void ReadCaptionButton(const CIniFile& ini, LPCSTR lpszSection, CaptionButton& button);
  void BuildParts();
  void FreeParts();
  CSize WindowSize() const;
  CRect CaptionButtonRect(int nButton) const;

  void PaintFrame();
  void PaintFrameTo(HDC hdc, const CSize& size);
  void PaintCaptionButtons(HDC hdc, const CSize& size);
  void PaintCaption(HDC hdc, const CSize& size);
  void PaintBand();
  void LayoutButtons();
  void ApplyShape();
  HRGN BuildShape(const CSize& size) const;
  void AfterPaintOrSize();

  CPtrArray m_buttons;
  BOOL m_bLoaded;
  BOOL m_bSizable;
  BOOL m_bMinimizeBox;
  BOOL m_bMaximizeBox;
  BOOL m_bActive;
  BOOL m_bButtonShown[3];
  int m_nHover;
  int m_nPressed;
  int m_nLastHover;
  CString m_strCaption;
  CString m_strPath;
  CString m_strFolder;
  HBITMAP m_hFrame;
  CRect m_rcParts[2][kSlots];
  BOOL m_bShapeWindow;
  int m_nSkinClient;
  COLORREF m_crMask;
  HRGN m_hPartRegions[kSlots];
  HBITMAP m_hParts[2][kSlots];
  // Top-left, middle-top and top-right widths; top bar height; middle-left and
  // middle-right sizes; bottom-left, middle-bottom and bottom-right widths; bottom bar height.
  int m_nTopLeftWidth, m_nMiddleTopWidth, m_nTopRightWidth, m_nTopHeight;
  int m_nMiddleLeftWidth, m_nMiddleLeftHeight, m_nMiddleRightWidth, m_nMiddleRightHeight;
  int m_nBottomLeftWidth, m_nMiddleBottomWidth, m_nBottomRightWidth, m_nBottomHeight;
  CaptionButton m_captionButtons[3];
  HBITMAP m_hSysButtons;
  HWND m_hSkinnedWnd;
  HWND m_hReturnWnd;
};
