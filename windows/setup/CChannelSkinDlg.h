// The channel window (dialog 146, "Orvane Media_ChannelDlg", skin "Skin\Channel\skin.ini",
// display mode 125): where the user builds and edits the tuner's channel lists. It picks
// the country (by the system's region or from a list), switches the antenna and cable
// plans, runs the channel scan and shows its progress, edits the current plan's channels
// in the skinned report list (skip, standard, name, frequency, order), fine-tunes a channel
// with a slider and loads and saves ".chl" files. The live picture goes on in a small
// video area.
//
// The lists, the file format, the scan worker and the tuner are the core's: the window
// drives them (g_pAppController, g_pChannelList) and shows them back. The TV window makes
// it when its channel button is pressed and closes it when it comes back to the front.
// The rows of the report list hold copies of the list's records, owned by the report list;
// every change goes back into the channel list by number.
//
// User-interface thread only. The scan worker reaches the window by messages: progress
// (sent, so the worker waits while it is shown), each channel found and the end (posted).
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/main/CSkinLabelSet.h"
#include "windows/main/CSkinVideoArea.h"

#include <memory>
#include <vector>

class CChannelListCtrl;
class CSkinComboBox;
class CSkinLabel;
class CSkinRadioButton;
class CSkinSlider;
class CVideoStatic;
struct ChannelRecord;

class CChannelSkinDlg : public CSkinDialog {
 public:
  static constexpr int kDisplayMode = 125;
  static constexpr UINT kChannelListId = 6010;
  static constexpr UINT kFineTuneSliderId = 4178;
  static constexpr UINT kProgressSliderId = 4179;
  static constexpr UINT kRegionRadioId = 4129;
  static constexpr UINT kListRadioId = 4130;
  static constexpr UINT kCountryComboId = 245;
  static constexpr int kFirstLabelId = 5700;
  // The fine-tuning slider's travel: 16 steps either side of where it was last reset.
  static constexpr int kFineTuneSteps = 16;

  CChannelSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CChannelSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);

  CChannelListCtrl* GetChannelList() const { return m_channelList.get(); }
  CSkinSlider* GetFineTuneSlider() const { return m_fineTuneSlider.get(); }
  CSkinSlider* GetProgressSlider() const { return m_progressSlider.get(); }
  CSkinRadioButton* GetRegionRadio() const { return m_regionRadio.get(); }
  CSkinRadioButton* GetListRadio() const { return m_listRadio.get(); }
  CSkinComboBox* GetCountryCombo() const { return m_countryCombo.get(); }
  CVideoStatic* GetVideoArea() const { return m_videoArea.Get(); }
  // The first label of that skin name, or null.
  CSkinLabel* FindLabel(LPCSTR name) const;
  // While a file dialog of the window is open.
  BOOL IsInFileDialog() const { return m_inFileDialog; }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  int FirstButtonCommandId() const override { return 5800; }
  int FirstRestoredScaledButton() const override { return 11; }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnCountrySelected();
  afx_msg LRESULT OnScanProgress(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScanDone(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScanMode(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRunStateChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRadioClicked(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderSet(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelSelect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelActivate(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelEdited(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelUpdated(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelFieldEdited(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetComboItems(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComboItemChosen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnChannelRowChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  // ---- Skin and layout.
  BOOL CreateSkinStatics(LPCSTR section);
  BOOL CreateVideoArea();
  BOOL CreateRadios();
  BOOL CreateCountryCombo();
  BOOL CreateSliders();
  void PlaceRadio(CSkinRadioButton& radio);
  void PlaceCountryCombo();

  // ---- Buttons, keys and leaving.
  // The buttons that act on the list and the tuner at once, without the enabled check.
  BOOL OnListButton(const CString& name);
  void EnableButtonsForState(int state);
  void StartOrStopScan();
  void ToggleTunerSource();

  // ---- Country.
  void ShowCountryLabels();
  void InitCountryMode();
  void UpdateCountryControls(BOOL arrowsEnabled, BOOL refresh);
  void RefillAfterCountryChange();

  // ---- Rows.
  BOOL CreateChannelList();
  BOOL FillChannelList();
  void DeleteAllRows();
  // A copy of `record` as the row `row`; the report list owns it.
  void InsertRowCopy(int row, const ChannelRecord& record);
  // The tuner source's current channel tuned again after the plan changed.
  void RetuneCurrentChannel();
  void OnScanChannelFound(ChannelRecord* record);

  // ---- Labels and the fine-tuning slider (CChannelSkinDlgEditing.cpp).
  void ShowScanProgress(int percent);
  void ShowFineTuneValue(int value);
  void ResetFineTune();
  BOOL ReleaseFineTune(int pos);
  BOOL ApplyFineTune(ChannelRecord& record, int pos);
  // Ends open in-place edits of the report list, keeping what was typed.
  void CommitListEdits();
  // Ends open in-place edits as Enter would, each stored in its own row and list, before
  // anything fills the rows anew.
  void EndListEdits();
  // Muted around the tuning.
  static void TuneMuted(int number, int list);

  // ---- Channel list files (CChannelSkinDlgEditing.cpp).
  void LoadChannelFile();
  BOOL SaveChannelFile();
  static CString ProgramFolder();

  CSkinVideoArea m_videoArea;
  std::unique_ptr<CChannelListCtrl> m_channelList;
  CSkinLabelSet m_skinStatics;
  std::unique_ptr<CSkinSlider> m_fineTuneSlider;
  std::unique_ptr<CSkinSlider> m_progressSlider;
  std::unique_ptr<CSkinRadioButton> m_regionRadio;
  std::unique_ptr<CSkinRadioButton> m_listRadio;
  std::unique_ptr<CSkinComboBox> m_countryCombo;
  CRect m_countryComboRect;
  int m_listMode = 0;
  int m_scanFoundCount = 0;
  // The fine-tuning position whose offset the frequency holds since the last reset: each
  // release applies only the difference to it, however the slider got there.
  int m_fineTuneApplied = 0;
  BOOL m_inFileDialog = FALSE;
};
