// The record plan list's rows (one per stored entry, numbered from 1, with the start
// date) and the detail text of the selected entry.
#include "windows/setup/CRecordSkinDlg.h"

#include "core/CScheduleList.h"
#include "skin/CDriveFolderList.h"
#include "skin/CSkinText.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/FormatConversions.h"

#include <mfc/CTime.h>
#include <vendor/language/Language.h>

namespace {

constexpr int kOnce = 8;
constexpr int kDaily = 7;
// The row number is padded with blanks to this width before the date.
constexpr int kRowNumberWidth = 100;
// Texts of the UI text library.
constexpr int kOnceText = 4;
constexpr int kDailyText = 5;
constexpr int kWeeklyText = 6;
constexpr int kMondayText = 7;
constexpr int kSundayText = 13;
constexpr int kEveryDayText = 14;
constexpr int kAntennaSourceText = 16;
constexpr int kCableSourceText = 17;
constexpr int kRecordModeText = 18;
constexpr int kViewModeText = 19;
constexpr int kOnceDetailText = 20;
constexpr int kRepeatedDetailText = 21;

// The library's formats when they take these values; the English wording otherwise.
constexpr char kChannelConversions[] = "d";
constexpr char kOnceConversions[] = "sdsssssssss";
constexpr char kRepeatedConversions[] = "sssssssss";
constexpr char kChannelFallback[] = "%d";
constexpr char kOnceFallback[] = "%s: %d-%s-%s %s:%s:%s\n%s\n%s min %s s, %s";
constexpr char kRepeatedFallback[] = "%s: %s %s:%s:%s\n%s\n%s min %s s, %s";

LPCSTR CheckedFormat(int id, LPCSTR conversions, LPCSTR fallback) {
  LPCSTR format = GetRecordShowItem(id);
  return HasConversions(format, conversions) ? format : fallback;
}

// "%d", with a "0" before values below 10.
CString TwoDigits(int value) {
  CString text;
  text.Format(value < 10 ? "0%d" : "%d", value);
  return text;
}

CString DayName(int recurrence) {
  if (recurrence == kDaily) return GetComBoxItem(kEveryDayText);
  if (recurrence == 0) return GetComBoxItem(kSundayText);
  if (recurrence >= 1 && recurrence <= 6) return GetComBoxItem(kMondayText + recurrence - 1);
  return "";
}

CString SourceText(const CScheduleItem& item) {
  CString text;
  switch (item.source) {
    case 0: text.Format(CheckedFormat(kAntennaSourceText, kChannelConversions, kChannelFallback), item.channel1); break;
    case 1: text.Format(CheckedFormat(kCableSourceText, kChannelConversions, kChannelFallback), item.channel2); break;
    case 2: text = "Composite"; break;
    case 3: text = "S-Video"; break;
    default: break;
  }
  return text;
}

CString KindText(int recurrence) {
  return GetComBoxItem(recurrence == kOnce ? kOnceText : recurrence == kDaily ? kDailyText : kWeeklyText);
}

}  // namespace

// ---- Rows

void CRecordSkinDlg::SetRow(int row, const CScheduleItem& item, BOOL leadingBlank) {
  if (!m_pList) return;
  CString text;
  text.Format("%d", row + 1);
  while (text.GetLength() < kRowNumberWidth) text += ' ';
  const CTime start(static_cast<time_t>(item.start));
  CString date;
  date.Format(leadingBlank ? " %d-%d-%d" : "%d-%d-%d", start.GetYear(), start.GetMonth(), start.GetDay());
  m_pList->SetItem(row, text + date);
}

void CRecordSkinDlg::Fill() {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pList) return;
  m_pList->SetVisibleLimit(list->GetCount());
  const time_t now = CTime::GetCurrentTime().GetTime();
  int row = 0;
  while (row < list->GetCount()) {
    const CScheduleItem* item = list->GetAt(row);
    if (item->recurrence == kOnce && item->flag && item->start < now) {
      list->Remove(item);
      continue;
    }
    SetRow(row, *item, FALSE);
    ++row;
  }
  m_pList->SetVisibleLimit(list->GetCount());
}

void CRecordSkinDlg::RenumberRows() {
  const CScheduleList* list = ScheduleList();
  if (!list) return;
  for (int row = 0; row < list->GetCount(); ++row) SetRow(row, *list->GetAt(row), TRUE);
}

void CRecordSkinDlg::RemoveRow(int row) {
  if (!m_pList || row < 0 || row >= m_pList->GetCount()) return;
  m_pList->RemoveItemData(row);
  m_pList->DeleteString(static_cast<UINT>(row));
}

void CRecordSkinDlg::AddEmptyRows(int count) {
  for (int i = 0; i < count && m_pList; ++i) m_pList->AddItem("", 0, 0);
}

// Rebuilds the rows; wParam is the row whose details are shown afterwards, -1 for none.
LRESULT CRecordSkinDlg::OnPlanListChanged(WPARAM wParam, LPARAM) {
  if (!m_pList) return 0;
  m_pList->SetHotItem(-1);
  if (m_pList->GetVisibleLimit() != 1) {
    m_pList->ResetContent();
    Fill();
    if (const CScheduleList* list = ScheduleList(); list && list->GetCount() == 0) {
      m_pList->ResetContent();
      AddEmptyRows(kPaddedRows);
    }
  } else {
    RemoveRow(0);
    Fill();
  }
  const int row = static_cast<int>(wParam);
  if (row >= 0 && row < m_pList->GetCount()) {
    m_pList->SetCurSel(row);
    ShowDetails(row);
  }
  LayoutHostedControl();
  Invalidate();
  return 0;
}

// The schedule runner took entry i out (-1: none): the rows from there go blank, the
// mark and the selection stay on their entries, and the list is rebuilt.
LRESULT CRecordSkinDlg::OnScheduleChanged(WPARAM wParam, LPARAM) {
  CScheduleList* list = ScheduleList();
  if (!list || !m_pList) return 0;
  const int removed = static_cast<int>(wParam);
  for (int row = removed < 0 ? 0 : removed; row <= list->GetCount() && row < m_pList->GetCount(); ++row)
    m_pList->SetItem(row, " ");
  if (removed >= 0) {
    const int mark = m_pList->GetHotItem();
    if (mark == removed) m_pList->SetHotItem(-1);
    else if (mark > removed) m_pList->SetHotItem(mark - 1);
    if (m_pList->GetCurSel() > removed) m_pList->SetCurSel(m_pList->GetCurSel() - 1);
    // An entry under EDIT goes back among the same neighbours.
    if (m_pKeptEntry && m_keptRow > removed) --m_keptRow;
  }
  if (m_pList->GetCurSel() == removed) SetDetail("");
  RenumberRows();
  SendMessage(UM_PLAN_LIST_CHANGED, static_cast<WPARAM>(m_pList->GetCurSel()), 0);
  SaveScheduleFile();
  m_pList->SetVisibleLimit(list->GetCount());
  return 0;
}

// ---- Details

void CRecordSkinDlg::SetDetail(const CString& text) {
  m_detailText = text;
  if (m_pDetail) m_pDetail->ShowText(text);
}

void CRecordSkinDlg::ShowDetails(int row) {
  const CScheduleList* list = ScheduleList();
  if (!list || !m_pList || m_pList->GetCount() == 0 || row < 0) return;
  if (row >= list->GetCount()) {
    SetDetail(" ");
    return;
  }
  const CScheduleItem& item = *list->GetAt(row);
  const CTime start(static_cast<time_t>(item.start));
  const CString mode = GetRecordShowItem(item.mode == 1 ? kRecordModeText : kViewModeText);
  const CString minutes = TwoDigits(item.duration / 60);
  const CString seconds = TwoDigits(item.duration % 60);
  CString text;
  if (item.recurrence == kOnce) {
    text.Format(CheckedFormat(kOnceDetailText, kOnceConversions, kOnceFallback), static_cast<LPCSTR>(mode),
                start.GetYear(), static_cast<LPCSTR>(TwoDigits(start.GetMonth())),
                static_cast<LPCSTR>(TwoDigits(start.GetDay())), static_cast<LPCSTR>(TwoDigits(start.GetHour())),
                static_cast<LPCSTR>(TwoDigits(start.GetMinute())), "00", static_cast<LPCSTR>(SourceText(item)),
                static_cast<LPCSTR>(minutes), static_cast<LPCSTR>(seconds),
                static_cast<LPCSTR>(KindText(item.recurrence)));
  } else {
    text.Format(CheckedFormat(kRepeatedDetailText, kRepeatedConversions, kRepeatedFallback), static_cast<LPCSTR>(mode),
                static_cast<LPCSTR>(DayName(item.recurrence)), static_cast<LPCSTR>(TwoDigits(start.GetHour())),
                static_cast<LPCSTR>(TwoDigits(start.GetMinute())), "00", static_cast<LPCSTR>(SourceText(item)),
                static_cast<LPCSTR>(minutes), static_cast<LPCSTR>(seconds),
                static_cast<LPCSTR>(KindText(item.recurrence)));
  }
  SetDetail(text);
}
