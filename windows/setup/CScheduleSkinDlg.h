// The schedule entry editor (dialog 159, "Orvane Media_ScheduleDlg", skin
// "Skin\Time\skin.ini", display mode 165): the window in which the user composes one entry
// of the recording schedule. Start date and time, duration, once / daily / weekly, the
// source (antenna or cable channel, or Composite), record or view, what the PC does after
// it, and whether a past once entry is dropped from the plan.
//
// Only the record plan list opens it, for a new entry or an existing one, and destroys it
// when it comes back. The editor never touches the stored entries or the file: SAVE writes
// its fields into the schedule list's working entry and hands back to the plan list with
// UM_REFRESH_LAYOUT (edit flag, saved flag); the plan list tests the entry for clashes and
// stores it. Times are the machine's local time.
//
// The date shown for once and daily entries is the working date; a weekly entry keeps its
// weekday in the recurrence field instead, and its date means nothing.
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/main/CSkinLabelSet.h"
#include "windows/main/CSkinVideoArea.h"

#include <ctime>
#include <vector>

class CDigitEdit;
class CScheduleItem;
class CSkinLabel;
class CSkinRadioButton;
class CVideoStatic;

class CScheduleSkinDlg : public CSkinDialog {
 public:
  static constexpr int kDisplayMode = 165;
  // Key k of "Time-EditControl" makes edit id 6200 + k; a radio of value v has id 6100 + v.
  static constexpr UINT kFirstEditId = 6200;
  static constexpr UINT kFirstRadioId = 6100;
  // The source radios.
  static constexpr UINT kAntennaRadio = 6101;
  static constexpr UINT kCableRadio = 6102;
  static constexpr UINT kCompositeRadio = 6103;
  static constexpr int kOnce = 8;
  static constexpr int kDaily = 7;
  // An entry whose stand-by would leave less than this before another one starts may not
  // end in stand-by.
  static constexpr int kStandbyLookAheadSeconds = 540;

  CScheduleSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CScheduleSkinDlg() override;

  // Editing an existing entry: its record becomes the editor's state. Before the window.
  void LoadFromItem(const CScheduleItem* item);
  // The working date and time: an existing entry's start, or, for a new entry, two minutes
  // from now (rolled into the next day when needed) with once, cable and record.
  void InitWorkingDate();
  BOOL LoadSkin(const CString& skinFile);

  // SAVE: the fields into the schedule list's working entry; FALSE when nothing may be
  // stored (no controller, or stand-by refused) and the editor stays open.
  BOOL StoreEntry();
  // Whether a stored entry starts within nine minutes after `end`, the end of an entry of
  // recurrence `recurrence`; runs that repeat are compared on every day or week they come,
  // also across midnight.
  BOOL StartsSoonAfter(time_t end, int recurrence) const;

  // The editor's state.
  int GetRecurrence() const { return m_recurrence; }
  int GetSource() const { return m_source; }
  int GetMode() const { return m_mode; }
  int GetAction() const { return m_action; }
  int GetDuration() const { return m_duration; }
  int GetChannel(int list) const { return list == 1 ? m_channel1 : m_channel2; }
  int GetRemoveWhenPast() const { return m_removeWhenPast; }
  int GetEditFlag() const { return m_editFlag; }
  time_t GetStartTime() const { return m_start; }
  // The working date as year * 10000 + month * 100 + day.
  int GetWorkingDate() const { return m_year * 10000 + m_month * 100 + m_day; }
  // The first and last channel number of list 1 or 2.
  int GetFirstChannel(int list) const { return list == 1 ? m_first1 : m_first2; }
  int GetLastChannel(int list) const { return list == 1 ? m_last1 : m_last2; }

  CDigitEdit* FindEdit(LPCSTR name) const;
  CSkinLabel* FindLabel(LPCSTR name) const;
  CSkinRadioButton* GetRadio(UINT id) const;
  CSkinRadioButton* GetRemoveWhenPastRadio() const { return m_radios.empty() ? nullptr : m_radios.back(); }
  CVideoStatic* GetVideoArea() const { return m_videoArea.Get(); }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Enter goes to the control it was typed in.
  BOOL OnKey(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnDestroy();
  afx_msg LRESULT OnRadioClicked(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDigitEditFocus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // ---- Skin (CScheduleSkinDlg.cpp)
  BOOL CreateLabels();
  BOOL CreateRadios();
  BOOL CreateEdits();
  BOOL CreateVideoArea();
  void ReadChannelRanges();
  void DestroyControls();
  void SetLabelText(LPCSTR name, const CString& text);
  void EnableButton(LPCSTR name, BOOL enable);

  // ---- Fields and buttons (CScheduleSkinDlgFields.cpp)
  void RefreshAll();
  void ShowRecurrence();
  void ShowDate();
  void ShowMode();
  void ShowAction();
  void ShowChannel();
  // The earlier-date button: for once and daily entries only while the working date lies
  // after today.
  void UpdateBackButton();
  void StepRecurrence(BOOL right);
  void StepDate(BOOL forward);
  void StepChannel(BOOL up);
  // The source radio chosen: the channel field follows the source's list, or goes blank
  // and idle for Composite.
  void SelectSource(int source);
  // The typed channel into the current source's channel.
  void TakeTypedChannel();
  // The working date moved by `days`, through the local calendar.
  void MoveWorkingDate(int days);
  // The start time from the working date and the start's own time of day.
  void RebuildStartTime();
  int EditValue(LPCSTR name) const;
  // Shown with two digits at least.
  void SetEditValue(LPCSTR name, int value);
  // The channel range of the current source's list (antenna or cable).
  void ApplyChannelRange();

  // ---- Leaving (CScheduleSkinDlgFields.cpp)
  // Back to the plan list: mode 155, the shared rectangle, the plan list shown and told.
  void ReturnToPlanList(BOOL saved);
  // MAIN, the editor's way: the display mode first (GoToLauncher sets it last).
  void LeaveForLauncher();

  // State.
  int m_year = 0;
  int m_month = 0;
  int m_day = 0;
  int m_hour = 0;
  int m_minute = 0;
  int m_second = 0;
  int m_action = 0;
  int m_channel1 = 1;
  int m_channel2 = 1;
  time_t m_start = 0;
  int m_duration = 120;
  int m_recurrence = -1;
  int m_source = -1;
  int m_mode = -1;
  int m_removeWhenPast = 1;
  int m_editFlag = 0;
  int m_first1 = 1;
  int m_last1 = 160;
  int m_first2 = 1;
  int m_last2 = 160;
  // What the last edit to take the focus told (its flag and tag); nothing reads it.
  WPARAM m_focusFlag = 0;
  LPARAM m_focusTag = 0;

  // Controls, created at skin load.
  CSkinLabelSet m_labels;
  std::vector<CSkinRadioButton*> m_radios;
  std::vector<CDigitEdit*> m_edits;
  CSkinVideoArea m_videoArea;
};
