// The settings hub (dialog 135, "Orvane Media_SetDlg", skin "Skin\Setting\skin.ini", display
// mode 120): the window from which the user reaches the four settings pages (hardware,
// video settings, record settings, record plan list). It shows a small live picture, lets
// the keys and the remote step a highlight through its page buttons, and while a page is
// in front passes the remote keys and device notices on to it. The launcher and the TV
// window open it in their place (one hub for both, g_pSetDlg) and close it when they come
// back to the front.
//
// The hub owns its pages, one process-wide pointer each, and makes a page anew on every
// visit: whenever the hub comes back to the front it closes the pages. A page, or the
// hub, closes while the message that left it is still on its own stack (a page's return
// button sends the hub the message that brings it back), so closing hides the window and
// clears its pointer at once, and the window is destroyed and deleted when that message
// is over: the hub posts itself UM_RELEASE_SETTINGS_WINDOWS for its pages, and a closed
// hub is released when the main window gets that message.
#pragma once

#include "windows/setup/CSettingsSkinDlg.h"

#include <vector>

class CHardwareDlg;
class CRecordDlg;
class CRecordSetDlg;
class CVideoSetDlg;

class CSetSkinDlg : public CSettingsSkinDlg {
 public:
  static constexpr int kDisplayMode = 120;
  // The buttons from this index on are the page buttons the highlight steps through; the
  // ones before are the window buttons.
  static constexpr int kFirstPageButton = 6;

  CSetSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CSetSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  void SetOpenedFromLauncher(int opened) { m_openedFromLauncher = opened; }
  int IsOpenedFromLauncher() const { return m_openedFromLauncher; }
  // The navigable button that carries the highlight, -1 for none.
  int GetHighlighted() const;
  // Hidden now, its pages closed with it; destroyed and deleted once the message under
  // way is over (see ReleaseClosedSettingsHubs).
  void Close();

 protected:
  void OnSkinButton(const CString& name) override;
  // The pages first; opened from the launcher, the hub also ends the live graph it started.
  void Teardown() override;
  void OnActivated() override;
  // Up and Down step the highlight, Enter presses the highlighted button.
  BOOL OnKey(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDevicesChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAttachVideo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReleasePages(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // A page button: the page made if it does not exist and shown in the hub's place.
  template <class Page>
  void OpenPage(Page*& page, int displayMode, BOOL endsScheduledRecording);
  // The hub's common step before a page is made, and the one after.
  void LeaveForPage(BOOL endsScheduledRecording);
  void ShowPage(CSkinDialog* page, int displayMode);
  // Each existing page hidden and its pointer cleared, in the order record settings, video
  // settings, hardware, record plan; they are destroyed and deleted when the hub's
  // UM_RELEASE_SETTINGS_WINDOWS arrives, or by its teardown.
  void ClosePages();
  template <class Page>
  void ClosePage(Page*& page);
  void ReleaseClosedPages();
  void ReturnToTV();
  // The keys' and the remote's highlight over the page buttons, while there is a controller.
  void StepHighlight(int step);
  void PressHighlighted();
  // Relays a message to the page in front, when it and its window exist.
  static void SendToPage(CSkinDialog* page, UINT message, WPARAM wParam, LPARAM lParam);

  int m_openedFromLauncher = 1;
  BOOL m_closed = FALSE;
  std::vector<CSkinDialog*> m_closedPages;
};

// The hub's pages while they exist; the hub makes and closes them.
extern CHardwareDlg* g_hardwarePage;
extern CVideoSetDlg* g_videoSetPage;
extern CRecordSetDlg* g_recordSetPage;
extern CRecordDlg* g_recordPlanPage;
