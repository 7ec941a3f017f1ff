// What the settings hub's pages share (the hardware, video settings and record settings
// windows): each is opened by the hub in its place, with labels from the skin's
// "Setting-Static" section (ids from 5700) beside the hub's window buttons, RETURN going
// back to the hub. The remote keys 70 (back) and 20 (close) reach it through the launcher
// and the hub; Enter goes to the control it was meant for.
#pragma once

#include "windows/main/CSkinLabelSet.h"
#include "windows/setup/CSettingsSkinDlg.h"

class CSettingsPageDlg : public CSettingsSkinDlg {
 public:
  static constexpr int kFirstLabelId = 5700;
  static constexpr LPCSTR kLabelSection = "Setting-Static";

  CSettingsPageDlg(UINT nIDTemplate, CWnd* pParent);
  ~CSettingsPageDlg() override;

  const CSkinLabelSet& GetLabels() const { return m_skinStatics; }

 protected:
  // The page's video area, whose user value marks it as a settings page's.
  BOOL CreatePageVideoArea(const RECT& design);
  BOOL CreateLabels(COLORREF textColour, BOOL skinText);
  // The window buttons every page has; TRUE when `name` was one of them.
  BOOL OnWindowButton(const CString& name);
  // The page's own controls (DestroyPageControls) and labels go first.
  void Teardown() override;
  virtual void DestroyPageControls() {}
  void LayoutHostedControl() override;
  BOOL OnKey(MSG* pMsg) override;

  afx_msg LRESULT OnDevicesChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CSkinLabelSet m_skinStatics;
};
