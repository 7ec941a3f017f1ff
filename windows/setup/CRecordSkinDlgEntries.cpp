// The record plan list's entries: ADD and EDIT through the entry editor and what its
// return stores, DELETE and REMOVEALL, the selection's moves, and the schedule file.
#include "windows/setup/CRecordSkinDlg.h"

#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDriveFolderList.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/CScheduleDlg.h"

#include <mfc/CTime.h>
#include <vendor/language/Language.h>

#include <algorithm>
#include <new>

namespace {

constexpr char kScheduleFile[] = "schedulefile.she";
constexpr int kOnce = 8;
// A once entry must start at least this far ahead to be stored.
constexpr int kSoonestStartSeconds = 5;
constexpr int kClashText = 2;
constexpr int kCaptionText = 3;
constexpr int kErrorCaptionText = 4;
// No text of the UI text library says this.
constexpr char kSaveFailedText[] = "The record plans could not be saved.";

}  // namespace

// ---- ADD and EDIT

// EDIT acts on the marked entry; the entry leaves the schedule while the editor has it, so
// the editor's stand-by look-ahead does not meet the entry's old self.
void CRecordSkinDlg::OpenEditor(BOOL edit) {
  CScheduleList* list = ScheduleList();
  if (!list) return;
  const int row = m_pList ? m_pList->GetHotItem() : -1;
  if (edit && (row < 0 || row >= list->GetCount())) return;
  m_otherWindowShown = TRUE;
  StoreSharedRect();
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  if (!g_pScheduleDlg) {
    auto* editor = new (std::nothrow) CScheduleDlg;
    if (!editor) {
      m_otherWindowShown = FALSE;
      return;
    }
    if (edit) editor->LoadFromItem(list->GetAt(row));
    editor->InitWorkingDate();
    if (!editor->Create(CScheduleDlg::IDD, this)) {
      delete editor;
      m_otherWindowShown = FALSE;
      return;
    }
    g_pScheduleDlg = editor;
  }
  ::ReleaseCapture();
  ShowWindow(SW_HIDE);
  g_pScheduleDlg->ShowWindow(SW_SHOW);
  if (edit) {
    m_pKeptEntry = std::make_unique<CScheduleItem>(*list->GetAt(row));
    m_keptRow = row;
    list->Remove(list->GetAt(row));
    RemoveRow(row);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(CScheduleSkinDlg::kDisplayMode);
}

BOOL CRecordSkinDlg::MayStoreWorkingEntry(const CScheduleItem& entry) {
  const CScheduleList* list = ScheduleList();
  if (!list) return FALSE;
  if (list->FindConflict(&entry)) {
    ::MessageBoxA(m_hWnd, GetMessageInfo(kClashText), GetMessageInfo(kCaptionText), MB_OK);
    return FALSE;
  }
  const time_t now = CTime::GetCurrentTime().GetTime();
  return entry.recurrence != kOnce || entry.start >= now + kSoonestStartSeconds;
}

// A saved edit takes the old entry's row; anything else puts the old entry back.
void CRecordSkinDlg::ApplyEdit(BOOL saved) {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pKeptEntry) return;
  const CScheduleItem& entry = list->WorkingItem();
  if (!saved || !MayStoreWorkingEntry(entry)) {
    PutKeptEntryBack();
    return;
  }
  const int row = std::clamp(m_keptRow, 0, list->GetCount());
  list->InsertAt(row, &entry);
  m_pKeptEntry.reset();
  m_keptRow = -1;
  SetRow(row, entry, TRUE);
  if (m_pList) m_pList->SetCurSel(row);
  ShowDetails(row);
}

void CRecordSkinDlg::PutKeptEntryBack() {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pKeptEntry) return;
  const int row = std::clamp(m_keptRow, 0, list->GetCount());
  list->InsertAt(row, m_pKeptEntry.get());
  m_pKeptEntry.reset();
  m_keptRow = -1;
  SetRow(row, *list->GetAt(row), FALSE);
  if (m_pList) m_pList->SetCurSel(row);
  ShowDetails(row);
}

void CRecordSkinDlg::ApplyNew(BOOL saved) {
  CScheduleList* list = ScheduleList();
  if (!saved || !list) return;
  const CScheduleItem& entry = list->WorkingItem();
  if (!MayStoreWorkingEntry(entry)) return;
  list->Add(&entry);
  const int last = list->GetCount() - 1;
  SetRow(last, entry, FALSE);
  if (!m_pList) return;
  m_pList->SetVisibleLimit(list->GetCount());
  m_pList->SetCurSel(last);
  ShowDetails(last);
}

// ---- DELETE, REMOVEALL, UP and DOWN

void CRecordSkinDlg::DeleteMarked() {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pList) return;
  const int marked = m_pList->GetHotItem();
  const int count = list->GetCount();
  if (marked < 0 || marked >= count) return;
  for (int row = count - 1; row >= marked; --row) RemoveRow(row);
  list->Remove(list->GetAt(marked));
  m_pList->SetHotItem(-1);
  RenumberRows();
  const int selected = m_pList->GetCurSel();
  if (selected == marked) {
    m_pList->SetCurSel(-1);
    SetDetail("");
  } else if (selected > marked) {
    m_pList->SetCurSel(selected - 1);
  }
  ShowDetails(m_pList->GetCurSel());
  SaveScheduleFile();
  m_pList->SetVisibleLimit(list->GetCount());
}

void CRecordSkinDlg::RemoveAllEntries() {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pList) return;
  m_pList->ResetContent();
  list->RemoveAll();
  AddEmptyRows(kPaddedRows);
  m_pList->SetVisibleLimit(0);
  m_pList->SetHotItem(-1);
  m_pList->SetCurSel(0);
  SetDetail("");
  SaveScheduleFile();
}

// DOWN from the last entry goes round to the first.
void CRecordSkinDlg::SelectNextWrapping() {
  const CScheduleList* list = ScheduleList();
  if (!m_pList) return;
  if (!list || list->GetCount() == 0 || m_pList->GetCurSel() != list->GetCount() - 1) {
    m_pList->SelectNext();
    return;
  }
  m_pList->SetCurSel(0);
  SendMessage(UM_REFRESH_PLAN_LIST, 0, 0);
}

// ---- The file

// The file always holds an entry under EDIT, in its place, so the scheduler program keeps
// it whatever becomes of this window.
void CRecordSkinDlg::SaveScheduleFile() {
  CScheduleList* list = ScheduleList();
  if (!list) return;
  const int keptAt = m_pKeptEntry ? std::clamp(m_keptRow, 0, list->GetCount()) : -1;
  if (keptAt >= 0) list->InsertAt(keptAt, m_pKeptEntry.get());
  const int written = list->Save(GetAppFolder() + kScheduleFile);
  if (keptAt >= 0) list->Remove(list->GetAt(keptAt));
  if (!written) {
    ::MessageBoxA(m_hWnd, kSaveFailedText, GetMessageInfo(kErrorCaptionText), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CScheduleList::ReloadSchedulerProgram();
}
