// The schedule entry editor's fields: the state an entry gives it, the texts and values it
// shows, the buttons that step them, SAVE with its stand-by look-ahead, and going back.
#include "windows/setup/CScheduleSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "core/CScheduleList.h"
#include "skin/CDigitEdit.h"
#include "skin/CSkinRadioButton.h"
#include "windows/main/WindowMessages.h"

#include <mfc/CTime.h>
#include <vendor/language/Language.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kPlanListDisplayMode = 155;
constexpr int kLauncherDisplayMode = 105;
// A new entry starts this many minutes from now.
constexpr int kNewEntryLeadMinutes = 2;
constexpr int kShortestDuration = 3;
constexpr std::int64_t kDaySeconds = 86400;
constexpr std::int64_t kWeekSeconds = 7 * kDaySeconds;
// Texts of the UI text library.
constexpr int kRecordText = 2;
constexpr int kViewText = 3;
constexpr int kOnceText = 4;
constexpr int kDailyText = 5;
constexpr int kWeeklyText = 6;
constexpr int kSundayText = 13;
constexpr int kMondayText = 7;
constexpr int kShutdownWarning = 5;
constexpr int kStandbyRefused = 6;
constexpr int kCaptionText = 3;

const char* const kActionTexts[] = {"Nothing to do", "Orvane Media shut-down", "Entering the Stand-by mode",
                                    "PC shut-down"};

bool IsWeekly(int recurrence) {
  return recurrence != CScheduleSkinDlg::kOnce && recurrence != CScheduleSkinDlg::kDaily;
}

// 0 Sunday ... 6 Saturday.
int WeekdayOf(time_t time) { return CTime(time).GetDayOfWeek() - 1; }

CString WeekdayName(int weekday) {
  return GetComBoxItem(weekday == 0 ? kSundayText : kMondayText + weekday - 1);
}

// "%d", with a "0" before values below 10.
CString TwoDigits(int value) {
  CString text;
  text.Format(value < 10 ? "0%d" : "%d", value);
  return text;
}

// The moment at its minute, second 0.
std::int64_t AtMinute(time_t time) {
  const CTime at(time);
  return CTime(at.GetYear(), at.GetMonth(), at.GetDay(), at.GetHour(), at.GetMinute(), 0).GetTime();
}

// How often runs of this recurrence repeat; 0 for once.
std::int64_t PeriodOf(int recurrence) {
  if (recurrence == CScheduleSkinDlg::kOnce) return 0;
  return recurrence == CScheduleSkinDlg::kDaily ? kDaySeconds : kWeekSeconds;
}

// One start of a stored entry: a once entry's own, a daily entry's at its minute, a weekly
// entry's on its weekday. False for a weekday value no day has.
bool AnchorOf(const CScheduleItem& item, std::int64_t& anchor) {
  if (item.recurrence == CScheduleSkinDlg::kOnce) {
    anchor = item.start;
    return true;
  }
  anchor = AtMinute(item.start);
  if (item.recurrence == CScheduleSkinDlg::kDaily) return true;
  if (item.recurrence < 0 || item.recurrence > 6) return false;
  anchor += ((item.recurrence - WeekdayOf(item.start) + 7) % 7) * kDaySeconds;
  return true;
}

// Whether a run of the stored entry starts within the look-ahead after an end of the edited
// entry. Both repeat with their own period, so the gap between them repeats with the
// shorter one (a daily run meets every day, two weekly ones every week). Whether a start
// exactly nine minutes after counts depends on the kinds, as the plan's rules have it.
bool StartsWithinLookAhead(std::int64_t end, int recurrence, const CScheduleItem& stored) {
  std::int64_t anchor = 0;
  if (!AnchorOf(stored, anchor)) return false;
  const std::int64_t ownPeriod = PeriodOf(recurrence);
  const std::int64_t storedPeriod = PeriodOf(stored.recurrence);
  const std::int64_t period =
      ownPeriod == kDaySeconds || storedPeriod == kDaySeconds ? kDaySeconds : std::max(ownPeriod, storedPeriod);
  std::int64_t gap = anchor - end;
  if (period) gap = ((gap % period) + period) % period;
  const bool editedOnce = recurrence == CScheduleSkinDlg::kOnce;
  const bool storedOnce = stored.recurrence == CScheduleSkinDlg::kOnce;
  const bool storedDaily = stored.recurrence == CScheduleSkinDlg::kDaily;
  const bool inclusive = (editedOnce && storedOnce) || (IsWeekly(recurrence) && (storedOnce || storedDaily));
  const std::int64_t limit = CScheduleSkinDlg::kStandbyLookAheadSeconds;
  return gap >= 0 && (inclusive ? gap <= limit : gap < limit);
}

CScheduleList* ScheduleList() { return g_pAppController ? g_pAppController->GetScheduleList() : nullptr; }

}  // namespace

// ---- State

void CScheduleSkinDlg::LoadFromItem(const CScheduleItem* item) {
  if (!item) return;
  m_start = item->start;
  m_duration = item->duration;
  m_recurrence = item->recurrence;
  m_channel1 = item->channel1;
  m_channel2 = item->channel2;
  m_source = item->source;
  m_mode = item->mode;
  m_action = item->action;
  m_removeWhenPast = item->flag;
  m_editFlag = 1;
}

// A new entry's date and time are those of two minutes from now; its start time follows
// them, so the date shown is the one it is saved with also in a day's last two minutes.
void CScheduleSkinDlg::InitWorkingDate() {
  CTime at(m_start);
  if (!m_editFlag) {
    m_recurrence = kOnce;
    m_source = 1;
    m_mode = 1;
    at = CTime(at.GetYear(), at.GetMonth(), at.GetDay(), at.GetHour(), at.GetMinute() + kNewEntryLeadMinutes,
               at.GetSecond());
    m_start = at.GetTime();
  }
  m_year = at.GetYear();
  m_month = at.GetMonth();
  m_day = at.GetDay();
  m_hour = at.GetHour();
  m_minute = at.GetMinute();
  m_second = at.GetSecond();
}

// ---- Showing

void CScheduleSkinDlg::RefreshAll() {
  SetEditValue("StartHour_Edit", m_hour);
  SetEditValue("StartMini_Edit", m_minute);
  SetEditValue("RecordHour_Edit", (m_duration / 3600) % 24);
  SetEditValue("RecordMini_Edit", (m_duration / 60) % 60);
  SetEditValue("RecordSecond_Edit", m_duration % 60);
  ShowChannel();
  CSkinRadioButton* last = GetRemoveWhenPastRadio();
  for (CSkinRadioButton* radio : m_radios)
    if (radio != last) radio->SetCheck(radio->GetDlgCtrlID() == static_cast<int>(kFirstRadioId) + m_source + 1, TRUE);
  if (last) last->SetCheck(m_removeWhenPast, TRUE);
  ShowRecurrence();
  ShowMode();
  ShowAction();
}

void CScheduleSkinDlg::ShowRecurrence() {
  const int text = m_recurrence == kOnce ? kOnceText : m_recurrence == kDaily ? kDailyText : kWeeklyText;
  SetLabelText("Mei_Static", GetComBoxItem(text));
  ShowDate();
  UpdateBackButton();
}

void CScheduleSkinDlg::ShowDate() {
  if (IsWeekly(m_recurrence)) {
    SetLabelText("ShowTime_Static", WeekdayName(m_recurrence));
    return;
  }
  CString date;
  date.Format("%d - %d - %d", m_year, m_month, m_day);
  SetLabelText("ShowTime_Static", date);
}

void CScheduleSkinDlg::ShowMode() { SetLabelText("Mode_Static", GetComBoxItem(m_mode == 1 ? kRecordText : kViewText)); }

void CScheduleSkinDlg::ShowAction() {
  if (m_action >= 0 && m_action <= 3) SetLabelText("Make_Static", kActionTexts[m_action]);
}

// Antenna and cable show their list's channel in the field; Composite has none.
void CScheduleSkinDlg::ShowChannel() {
  CDigitEdit* edit = FindEdit("Channel_Edit");
  const BOOL tuner = m_source == 0 || m_source == 1;
  if (edit) {
    if (tuner) {
      CString text;
      text.Format("%d", GetChannel(m_source + 1));
      edit->SetWindowText(text);
    } else {
      edit->SetWindowText("");
    }
    edit->EnableEdit(tuner);
  }
  EnableButton("CHANNEL_TOPBUTTON", tuner);
  EnableButton("CHANNEL_BOTTOMBUTTON", tuner);
}

void CScheduleSkinDlg::UpdateBackButton() {
  const CTime today = CTime::GetCurrentTime();
  const int todayDate = today.GetYear() * 10000 + today.GetMonth() * 100 + today.GetDay();
  EnableButton("SHOWTIME_BOTTOMBUTTON", IsWeekly(m_recurrence) || GetWorkingDate() > todayDate);
}

// No more than the field's maximum before anything is reckoned with it, whatever the field
// holds.
int CScheduleSkinDlg::EditValue(LPCSTR name) const {
  const CDigitEdit* edit = FindEdit(name);
  return edit ? edit->GetValue() : 0;
}

void CScheduleSkinDlg::SetEditValue(LPCSTR name, int value) {
  if (CDigitEdit* edit = FindEdit(name)) edit->SetWindowText(TwoDigits(value));
}

void CScheduleSkinDlg::ApplyChannelRange() {
  if (CDigitEdit* edit = FindEdit("Channel_Edit"); edit && (m_source == 0 || m_source == 1))
    edit->SetRange(GetLastChannel(m_source + 1), GetFirstChannel(m_source + 1));
}

// ---- Stepping

// Left: weekly, daily, once, weekly; right the other way. A weekly entry takes the
// weekday of its date.
void CScheduleSkinDlg::StepRecurrence(BOOL right) {
  const int weekday = WeekdayOf(CTime(m_year, m_month, m_day, 12, 0, 0).GetTime());
  if (m_recurrence == kOnce) m_recurrence = right ? kDaily : weekday;
  else if (m_recurrence == kDaily) m_recurrence = right ? weekday : kOnce;
  else m_recurrence = right ? kOnce : kDaily;
  ShowRecurrence();
}

// Once and daily entries move their date a day; a weekly entry's forward button goes to
// the weekday before and its back button to the one after.
void CScheduleSkinDlg::StepDate(BOOL forward) {
  if (IsWeekly(m_recurrence)) {
    m_recurrence = forward ? (m_recurrence <= 0 ? 6 : m_recurrence - 1) : (m_recurrence >= 6 ? 0 : m_recurrence + 1);
  } else {
    MoveWorkingDate(forward ? 1 : -1);
  }
  ShowDate();
  UpdateBackButton();
  RebuildStartTime();
}

void CScheduleSkinDlg::MoveWorkingDate(int days) {
  const CTime moved(m_year, m_month, m_day + days, 12, 0, 0);
  m_year = moved.GetYear();
  m_month = moved.GetMonth();
  m_day = moved.GetDay();
}

void CScheduleSkinDlg::RebuildStartTime() {
  const CTime start(m_start);
  m_start = CTime(m_year, m_month, m_day, start.GetHour(), start.GetMinute(), start.GetSecond()).GetTime();
}

void CScheduleSkinDlg::TakeTypedChannel() {
  const CDigitEdit* edit = FindEdit("Channel_Edit");
  if (!edit || !edit->IsEditEnabled()) return;
  if (m_source == 0) m_channel1 = EditValue("Channel_Edit");
  if (m_source == 1) m_channel2 = EditValue("Channel_Edit");
}

// Past the last channel to the first and back; a typed number outside the list's range
// comes back into it.
void CScheduleSkinDlg::StepChannel(BOOL up) {
  if (m_source != 0 && m_source != 1) return;
  TakeTypedChannel();
  const int list = m_source + 1;
  int& channel = m_source == 0 ? m_channel1 : m_channel2;
  const int first = GetFirstChannel(list);
  const int last = GetLastChannel(list);
  if (up) channel = channel == last ? first : channel + 1;
  else channel = channel == first ? last : channel - 1;
  channel = std::max(first, std::min(channel, last));
  ShowChannel();
}

void CScheduleSkinDlg::SelectSource(int source) {
  m_source = source;
  ApplyChannelRange();
  ShowChannel();
}

// ---- SAVE

BOOL CScheduleSkinDlg::StoreEntry() {
  CScheduleList* list = ScheduleList();
  if (!list) return FALSE;
  if (m_action == 3) ::MessageBoxA(m_hWnd, GetMessageInfo(kShutdownWarning), GetMessageInfo(kCaptionText), MB_OK);
  CScheduleItem& entry = list->WorkingItem();
  entry.recurrence = m_recurrence;
  const auto enabled = [this](LPCSTR name) {
    const CDigitEdit* edit = FindEdit(name);
    return edit && edit->IsEditEnabled();
  };
  if (enabled("StartHour_Edit")) m_hour = EditValue("StartHour_Edit");
  if (enabled("StartMini_Edit")) m_minute = EditValue("StartMini_Edit");
  if (enabled("RecordHour_Edit") || enabled("RecordMini_Edit") || enabled("RecordSecond_Edit"))
    m_duration = (EditValue("RecordHour_Edit") * 60 + EditValue("RecordMini_Edit")) * 60 + EditValue("RecordSecond_Edit");
  m_duration = std::max(m_duration, kShortestDuration);
  TakeTypedChannel();
  // A typed channel is kept within its list, as the channel buttons keep it.
  if (m_source == 0 || m_source == 1) {
    int& channel = m_source == 0 ? m_channel1 : m_channel2;
    channel = std::max(GetFirstChannel(m_source + 1), std::min(channel, GetLastChannel(m_source + 1)));
  }
  m_start = CTime(m_year, m_month, m_day, m_hour, m_minute, 0).GetTime();
  entry.start = static_cast<std::int32_t>(m_start);
  entry.duration = m_duration;
  entry.channel1 = m_channel1;
  entry.channel2 = m_channel2;
  entry.source = m_source;
  entry.mode = m_mode;
  entry.flag = m_removeWhenPast;
  if (m_action == 2 && StartsSoonAfter(m_start + m_duration, m_recurrence)) {
    ::MessageBoxA(m_hWnd, GetMessageInfo(kStandbyRefused), GetMessageInfo(kCaptionText), MB_OK);
    entry.action = 0;
    return FALSE;
  }
  entry.action = m_action;
  return TRUE;
}

// For a weekly entry `end` is taken as the end of a run that began on its weekday
// GetDuration() seconds before, so a run that goes past midnight ends on the day after.
// A weekday value no day has never runs.
BOOL CScheduleSkinDlg::StartsSoonAfter(time_t end, int recurrence) const {
  const CScheduleList* list = ScheduleList();
  if (!list || (IsWeekly(recurrence) && (recurrence < 0 || recurrence > 6))) return FALSE;
  std::int64_t ownEnd = end;
  if (IsWeekly(recurrence))
    ownEnd += ((recurrence - WeekdayOf(end - m_duration) + 7) % 7) * kDaySeconds;
  if (recurrence != kOnce) ownEnd = AtMinute(static_cast<time_t>(ownEnd));
  for (int i = 0; i < list->GetCount(); ++i)
    if (StartsWithinLookAhead(ownEnd, recurrence, *list->GetAt(i))) return TRUE;
  return FALSE;
}

// ---- Leaving

// The plan list destroys the editor when it handles the layout message.
void CScheduleSkinDlg::ReturnToPlanList(BOOL saved) {
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kPlanListDisplayMode);
  StoreSharedRect();
  CWnd* parent = GetParent();
  if (!parent) return;
  parent->ShowWindow(SW_SHOW);
  parent->SendMessage(UM_ATTACH_VIDEO, 0, 0);
  parent->SendMessage(UM_REFRESH_LAYOUT, static_cast<WPARAM>(m_editFlag), saved ? 1 : 0);
}

void CScheduleSkinDlg::LeaveForLauncher() {
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
  StoreSharedRect();
  CWnd* main = AfxGetMainWnd();
  if (!main) return;
  main->ShowWindow(SW_SHOW);
  main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
}
