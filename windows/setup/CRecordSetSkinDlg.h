// The record settings window (dialog 162, "Orvane Media_RecordSetDlg", skin
// "Skin\RecordSet\skin.ini", display mode 195): where the user chooses the record folder,
// the recording format and its quality, and sees the bit rate they give. The folder is
// chosen by walking a list of folders (down into a sub-folder, up to the parent, up to the
// list of drives); the folder shown when the window goes becomes the record folder.
// Format and quality are stepped with arrows and stored in the settings at once. A small
// live picture runs beside. The settings hub makes and closes it.
//
// Only a folder that can take recordings becomes the record folder: one whose path fits
// the settings' field (a deeper one is refused with a message as the user tries to enter
// it) and that still exists when the window goes (otherwise the user is told and the
// record folder stays as it was). Leaving from the list of drives keeps it too.
#pragma once

#include "windows/setup/CSettingsPageDlg.h"

#include <memory>

class CDriveFolderList;

class CRecordSetSkinDlg : public CSettingsPageDlg {
 public:
  static constexpr int kDisplayMode = 195;
  static constexpr UINT kFolderListId = 1;
  // The list always shows at least this many rows.
  static constexpr int kShownRows = 8;
  // The record folder's field holds this many characters with its end.
  static constexpr int kFolderField = 260;

  CRecordSetSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CRecordSetSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  CDriveFolderList* GetFolderList() const { return m_folderList.get(); }
  const CString& GetCurrentFolder() const { return m_currentFolder; }
  BOOL IsShowingDrives() const { return m_showingDrives; }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  void DestroyPageControls() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The stored record folder; when it is empty or gone, the default one, made if missing.
  static CString StartFolder();
  BOOL CreateFolderList();
  void FillLabels();
  // Format and quality arrows; FALSE for a name that is neither.
  BOOL StepFormatOrQuality(const CString& name);
  void ShowBitrate();

  // ---- Walking the folders.
  void OpenSelected();
  void GoUp();
  void ListSubFolders();
  void ListDrives();
  void AddFillerRows();
  void ShowPath();
  // The folder shown becomes the record folder when it can take recordings.
  void StoreShownFolder();

  std::unique_ptr<CDriveFolderList> m_folderList;
  CString m_currentFolder;
  BOOL m_showingDrives = FALSE;
};
