#include "windows/setup/CRecordSetSkinDlg.h"

#include "core/CAppController.h"
#include "skin/CDriveFolderList.h"
#include "skin/CIniFile.h"
#include "skin/CSkinLabel.h"
#include "skin/SkinValues.h"
#include "windows/main/SharedPlacement.h"

#include <vendor/language/Language.h>

#include <new>

namespace {

constexpr RECT kVideoAreaRect{40, 528, 339, 732};
constexpr COLORREF kLabelTextColour = 0xFFFFFF;
constexpr LPCSTR kListSection = "RecordSet-List";
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | LBS_DISABLENOSCROLL | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY;
static_assert(kListStyle == 0x50001021);
constexpr COLORREF kListFill = 0;
constexpr COLORREF kListItemBackground = 0xFFFFFF;
constexpr COLORREF kListText = 0xFF0000;
// The folder rows carry the program's closed and open folder icons.
constexpr int kFolderIcon = 157;
constexpr int kOpenFolderIcon = 158;
constexpr int kDriveListCaption = 0;
constexpr int kNoDrivesText = 4;

constexpr LPCSTR kPathLabel = "ShowPath_Static";
constexpr LPCSTR kFormatLabel = "RecordFormat_Static";
constexpr LPCSTR kQualityLabel = "RecordQuality_Static";
constexpr LPCSTR kBitrateLabel = "ShowTime_Static";

constexpr LPCSTR kPathTooLong = "This folder cannot take the recordings: its path is too long.";
constexpr LPCSTR kFolderGone =
    "The folder shown is no longer there. The recordings go on into the record folder chosen before.";
constexpr LPCSTR kFolderNotMade =
    "The record folder is not there and could not be made again. Choose a folder for the recordings.";

CString WithBackslash(const CString& folder) {
  return folder.IsEmpty() || folder.Right(1) == "\\" ? folder : folder + "\\";
}

}  // namespace

CRecordSetSkinDlg::CRecordSetSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSettingsPageDlg(nIDTemplate, pParent) {}

// The window's own teardown has stored the folder already when its window went; an object
// deleted with its window still there stores it now.
CRecordSetSkinDlg::~CRecordSetSkinDlg() { DestroyPageControls(); }

// ---- Skin load

CString CRecordSetSkinDlg::StartFolder() {
  const LPCSTR stored = CAppController::GetRecordFolder();
  if (stored && CAppController::FolderExists(stored, TRUE, TRUE)) return stored;
  const LPCSTR made = CAppController::MakeDefaultFolders(1);
  if (made) return made;
  // The walk then starts at the drives, and the stored folder stays until one is chosen.
  AfxMessageBox(kFolderNotMade, MB_OK | MB_ICONEXCLAMATION);
  return "";
}

BOOL CRecordSetSkinDlg::LoadSkin(const CString& skinFile) {
  m_skinFile = skinFile;
  PlaceWindow();
  if (g_pAppController) m_currentFolder = StartFolder();
  const BOOL made = CreateSkinButtons(g_isMaximized) && CreatePageVideoArea(kVideoAreaRect) &&
                    CreateLabels(kLabelTextColour, TRUE) && CreateFolderList();
  if (made) {
    TakeOverPicture();
    FillLabels();
  }
  LayoutSkinButtons();
  return made;
}

// The first key of the list section that has a value places the list; later ones change
// nothing.
BOOL CRecordSetSkinDlg::CreateFolderList() {
  if (CSkinLabel* path = m_skinStatics.Find(kPathLabel)) path->SetLeftAlign(TRUE);
  const CIniFile ini(m_skinFile);
  CStringArray keys;
  ini.GetSectionKeys(kListSection, keys);
  for (int key = 1; key <= static_cast<int>(keys.GetSize()); ++key) {
    CString keyName;
    keyName.Format("%d", key);
    RECT design{};
    if (!ReadRect(ini, kListSection, keyName, design)) continue;
    m_folderList.reset(new (std::nothrow) CDriveFolderList);
    CRect client;
    GetClientRect(&client);
    if (!m_folderList ||
        !m_folderList->Create(kListStyle, ScaleDesignRect(design, client.Width(), client.Height()), this, kFolderListId)) {
      m_folderList.reset();
      return FALSE;
    }
    m_folderList->SetFillColor(kListFill);
    m_folderList->SetItemBkColor(kListItemBackground);
    m_folderList->SetTextColor(kListText);
    m_folderList->SetMargins(design.left, design.top, design.right, design.bottom);
    // Without a folder to start from the walk starts at the drives.
    if (m_currentFolder.IsEmpty()) ListDrives();
    else ListSubFolders();
    AddFillerRows();
    return TRUE;
  }
  return TRUE;
}

void CRecordSetSkinDlg::FillLabels() {
  if (!g_pAppController || m_skinStatics.GetCount() == 0) return;
  ShowPath();
  ShowBitrate();
  m_skinStatics.SetText(kQualityLabel, CAppController::GetQualityName());
  m_skinStatics.SetText(kFormatLabel, CAppController::GetFormatName());
}

void CRecordSetSkinDlg::ShowPath() { m_skinStatics.SetText(kPathLabel, m_currentFolder); }

void CRecordSetSkinDlg::ShowBitrate() {
  CString bitrate;
  bitrate.Format("%ld", CAppController::GetBitrateForQuality());
  m_skinStatics.SetText(kBitrateLabel, bitrate);
}

void CRecordSetSkinDlg::LayoutHostedControl() {
  CSettingsPageDlg::LayoutHostedControl();
  if (!m_folderList || !m_folderList->GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  RECT design{};
  m_folderList->GetMargins(design.left, design.top, design.right, design.bottom);
  m_folderList->MoveWindow(ScaleDesignRect(design, client.Width(), client.Height()), TRUE);
}

// ---- Buttons

void CRecordSetSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (OnWindowButton(name) || StepFormatOrQuality(name)) return;
  if (name == "ReturnPrePath_Button") {
    GoUp();
  } else if (m_folderList && name == "UP_BUTTON") {
    m_folderList->SelectPrev();
  } else if (m_folderList && name == "DOWN_BUTTON") {
    m_folderList->SelectNext();
  }
}

BOOL CRecordSetSkinDlg::StepFormatOrQuality(const CString& name) {
  const BOOL quality = name == "RecordQualityleft_Button" || name == "RecordQualityRight_Button";
  const BOOL format = name == "RecordFormatLeft_Button" || name == "RecordFormatRight_Button";
  if (!quality && !format) return FALSE;
  if (!g_pAppController) return TRUE;
  const int backward = name == "RecordQualityleft_Button" || name == "RecordFormatLeft_Button";
  LPCSTR stepped = nullptr;
  if (quality) CAppController::CycleQuality(backward, &stepped);
  else CAppController::CycleFormat(backward, &stepped);
  if (!stepped) return TRUE;
  m_skinStatics.SetText(quality ? kQualityLabel : kFormatLabel, stepped);
  ShowBitrate();
  return TRUE;
}

// ---- Walking the folders

// The list searches "<folder>*.*": a folder text without its backslash would list its
// neighbours.
void CRecordSetSkinDlg::ListSubFolders() {
  m_folderList->ResetContent();
  m_folderList->AddSubFolders(WithBackslash(m_currentFolder), kFolderIcon, kOpenFolderIcon, TRUE);
}

// The drive list's caption stands in the folder text while the drives are shown.
void CRecordSetSkinDlg::ListDrives() {
  m_currentFolder = GetOtherInfo(kDriveListCaption);
  m_showingDrives = TRUE;
  if (!m_folderList->ListDrives()) AfxMessageBox(GetMessageInfo(kNoDrivesText));
}

void CRecordSetSkinDlg::AddFillerRows() {
  while (m_folderList->GetItemCount() < kShownRows) m_folderList->AddItem("", 0, 0);
}

void CRecordSetSkinDlg::OpenSelected() {
  if (!m_folderList) return;
  const CString text = m_folderList->GetCurSelText();
  if (text.IsEmpty()) return;
  if (m_showingDrives) {
    m_currentFolder = text;
    m_showingDrives = FALSE;
    ListSubFolders();
  } else {
    m_currentFolder = WithBackslash(m_currentFolder);
    if (!m_folderList->GetCurSelIsFolder()) return;
    const CString folder = m_currentFolder + text + "\\";
    // A deeper folder would not fit the settings' field: the walk stays where it is.
    if (folder.GetLength() >= kFolderField) {
      AfxMessageBox(kPathTooLong, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    m_currentFolder = folder;
    ListSubFolders();
  }
  AddFillerRows();
  ShowPath();
}

void CRecordSetSkinDlg::GoUp() {
  if (!m_folderList) return;
  CString parent = m_currentFolder;
  if (CDriveFolderList::ParentFolder(parent)) {
    m_currentFolder = parent;
    ListSubFolders();
  } else {
    ListDrives();
  }
  AddFillerRows();
  ShowPath();
}

void CRecordSetSkinDlg::StoreShownFolder() {
  if (!g_pAppController || !m_skinStatics.Find(kPathLabel) || m_currentFolder.IsEmpty() || m_showingDrives) return;
  if (m_currentFolder.GetLength() >= kFolderField || !CAppController::FolderExists(m_currentFolder, TRUE, TRUE)) {
    AfxMessageBox(kFolderGone, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CAppController::SetRecordFolder(m_currentFolder);
}

void CRecordSetSkinDlg::DestroyPageControls() {
  StoreShownFolder();
  if (!m_folderList) return;
  if (m_folderList->GetSafeHwnd()) m_folderList->DestroyWindow();
  m_folderList.reset();
}

LRESULT CRecordSetSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CDriveFolderList::UM_FOLDER_SELECTED) {
    OpenSelected();
    return 0;
  }
  return CSettingsPageDlg::WindowProc(message, wParam, lParam);
}
