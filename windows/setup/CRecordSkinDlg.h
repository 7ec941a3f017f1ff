// The record plan list (dialog 156, "Orvane Media_RecordDlg", skin "Skin\Record\skin.ini",
// display mode 155; 165 while its entry editor is in front): the recording schedule as a
// numbered list, the details of the selected entry, and the buttons that add, change,
// delete or clear entries. A page of the settings hub, which makes it and closes it.
//
// It owns the exchange with the schedule entry editor (CScheduleDlg, at most one, held in
// g_pScheduleDlg): ADD and EDIT open it, and when it comes back the working entry it
// filled is tested for clashes and stored. After every change the schedule list writes
// "schedulefile.she" in the program folder, and the scheduler program, when it runs, is
// told to read it again. While the window is open the controller runs no entry that comes
// due.
//
// Rows and entries: row i shows entry i. The selection follows the pointer and the UP and
// DOWN buttons and chooses the entry whose details are shown; the mark (the list's hot row,
// set by a click on a row and taken off by a second one) chooses the entry EDIT and DELETE
// act on. During an EDIT the entry is out of the schedule list until the editor comes
// back; a file written meanwhile still holds it, and a window closed meanwhile puts it back.
//
// The editor, like this window, may be closed while a message of its own is under way, so
// it is hidden at once and destroyed when UM_RELEASE_SCHEDULE_EDITOR, posted, arrives.
#pragma once

#include "windows/main/CSkinDialog.h"
#include "windows/main/CSkinVideoArea.h"

#include <memory>

class CDriveFolderList;
class CScheduleDlg;
class CScheduleItem;
class CScheduleList;
class CSkinText;
class CVideoStatic;

class CRecordSkinDlg : public CSkinDialog {
 public:
  static constexpr int kDisplayMode = 155;
  static constexpr UINT kListId = 1;
  static constexpr UINT kDetailTextId = 10100;
  // An empty plan shows this many empty rows.
  static constexpr int kPaddedRows = 8;
  // The keys' and the remote's highlight runs over the buttons from this index on.
  static constexpr int kFirstNavigableButton = 8;

  CRecordSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CRecordSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);

  CDriveFolderList* GetList() const { return m_pList; }
  CSkinText* GetDetailControl() const { return m_pDetail; }
  // What the detail text shows.
  const CString& GetDetailText() const { return m_detailText; }
  CVideoStatic* GetVideoArea() const { return m_videoArea.Get(); }
  // The navigable button that carries the highlight, -1 for none.
  int GetHighlighted() const;

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  // The entry editor, when open, becomes active with it.
  void OnActivated() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Up and Down step the highlight, Enter presses the highlighted button.
  BOOL OnKey(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnDestroy();
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScheduleChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPlanListChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshPlanList(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAttachVideo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReleaseEditor(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // ---- Skin and teardown (CRecordSkinDlg.cpp)
  BOOL CreateList();
  BOOL CreateVideoArea();
  BOOL CreateDetailText();
  // Closes the editor, puts an entry under EDIT back, clears the plan window's mark in the
  // controller and releases the controls; a second call finds nothing left.
  void Teardown();
  void CloseEditor();
  void ReleaseClosedEditor();

  // ---- Rows and details (CRecordSkinDlgRows.cpp)
  // One row per stored entry, dropping once entries past their start that are to go.
  void Fill();
  void SetRow(int row, const CScheduleItem& item, BOOL leadingBlank);
  // Every stored entry's row written again with its number.
  void RenumberRows();
  void RemoveRow(int row);
  void AddEmptyRows(int count);
  void ShowDetails(int row);
  void SetDetail(const CString& text);

  // ---- Entries (CRecordSkinDlgEntries.cpp)
  void OpenEditor(BOOL edit);
  void ApplyEdit(BOOL saved);
  void ApplyNew(BOOL saved);
  // The entry taken out for EDIT goes back where it was, unchanged.
  void PutKeptEntryBack();
  // Whether the working entry may be stored; a clash is told, a past start is not.
  BOOL MayStoreWorkingEntry(const CScheduleItem& entry);
  void DeleteMarked();
  void RemoveAllEntries();
  void SelectNextWrapping();
  // "schedulefile.she" written and, once written, the scheduler program told.
  void SaveScheduleFile();

  // ---- Highlight (CRecordSkinDlg.cpp)
  void PressHighlighted();

  static CScheduleList* ScheduleList();

  CDriveFolderList* m_pList = nullptr;
  CSkinVideoArea m_videoArea;
  CSkinText* m_pDetail = nullptr;
  CString m_detailText;
  // The entry under EDIT, out of the schedule list, and the row it goes back to.
  std::unique_ptr<CScheduleItem> m_pKeptEntry;
  int m_keptRow = -1;
  // An editor that came back, hidden until its release message.
  CScheduleDlg* m_pClosedEditor = nullptr;
  BOOL m_tornDown = FALSE;
};

// The one schedule entry editor while it is open, made and closed by the plan list.
extern CScheduleDlg* g_pScheduleDlg;
