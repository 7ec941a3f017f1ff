// The picture browser (dialog 139, "Orvane Media_PICDlg", skin "Skin\Pic\skin.ini"): the
// user's pictures as a thumbnail strip ("histroyPicture.lis"), the chosen one drawn large
// in the picture area, four sliders that change its lightness, hue, contrast and
// saturation, Gaussian and median smoothing, a histogram drawn over it, undo of the last
// five changes, and saving it as a bitmap file. The picture work is the picture library's
// (Pictorin), on one packed DIB in a global block that the whole program shares.
//
// The sliders add to what was done before: a position is a strength applied once, not a
// setting. Before each slider change the picture is saved to the next of "0.bmp" ...
// "5.bmp" in the program folder (CPictureUndo), so undo brings back the picture as it was
// before the latest change, the opened one included; leaving the window deletes them. The
// launcher makes the window on its Pictures button and destroys it once the user is back.
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/main/CSkinLabelSet.h"
#include "windows/main/CSkinVideoArea.h"
#include "windows/media/CPictureUndo.h"

class CSkinButtonEx;
class CSkinLabel;
class CSkinSlider;
class CThumbnailListWnd;
class CVideoStatic;

class CPICSkinDlg : public CSkinDialog {
 public:
  // The sliders' control ids, in the order of their rows.
  static constexpr UINT kLightnessSlider = 4167;
  static constexpr UINT kHueSlider = 4176;
  static constexpr UINT kContrastSlider = 4168;
  static constexpr UINT kSaturationSlider = 4177;
  static constexpr int kSliderCount = 4;
  static constexpr int kDisplayMode = 135;
  // Key "k" of "Pic-RadioButtons" gives this id + k - 1.
  static constexpr int kFirstRadioCommand = 5200;

  CPICSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CPICSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);

  // The program's current picture (a packed DIB, null when none) and its file.
  static HGLOBAL GetCurrentPicture() { return s_hPicture; }
  static const CString& GetCurrentPictureName() { return s_pictureName; }

  CThumbnailListWnd* GetThumbnailList() const { return m_pThumbList; }
  CSkinSlider* GetSlider(UINT nId) const;
  CSkinLabel* FindLabel(LPCSTR name) const;
  CSkinButtonEx* GetRadioButton() const { return m_pRadio; }
  CVideoStatic* GetPictureArea() const { return m_pictureArea.Get(); }
  const CPictureUndo& GetUndo() const { return m_undo; }
  BOOL IsHistogramShown() const { return m_bHistogram; }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderSet(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenListItem(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListOpenItem(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListSetFolder(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListAddFile(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateThumbnailList();
  BOOL CreateLabels();
  BOOL CreateRadioButton();
  BOOL CreateSliders();
  BOOL CreatePictureArea();
  void DestroyControls();

  // The picture area's design rectangle in client pixels.
  CRect PictureAreaRect() const;
  void ShowPicture();
  BOOL DrawHistogram();
  // Reads the file as the current picture; on success the previous one is freed, the
  // picture shown and the picture buttons enabled.
  BOOL OpenPicture(const CString& path);
  void ReplacePicture(HGLOBAL hPicture);
  void Adjust(UINT nSliderId, int nPosition);
  void Smooth(BOOL bMedian);
  void Undo();
  void ToggleHistogram();
  void Save();
  // True when the view already lists the file.
  BOOL IsListed(const CString& path) const;
  void ReturnToLauncher();
  void SetLabelText(LPCSTR name, LPCSTR text);
  void EnableButton(LPCSTR name, BOOL bEnable);

  static HGLOBAL s_hPicture;
  static CString s_pictureName;

  CThumbnailListWnd* m_pThumbList = nullptr;
  CSkinLabelSet m_labels;
  CSkinButtonEx* m_pRadio = nullptr;
  CSkinSlider* m_sliders[kSliderCount] = {};
  CSkinVideoArea m_pictureArea;
  CPictureUndo m_undo;
  BOOL m_bHistogram = FALSE;
};
