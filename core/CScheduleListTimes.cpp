// The schedule list's time rules: which item is due, which items clash, when the next item
// starts and which once items have expired. All in the machine's local time.
#include "core/CScheduleList.h"

#include <mfc/CTime.h>

#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

constexpr int kDaily = 7;
constexpr int kOnce = 8;
constexpr int kLookAheadSeconds = 20;
// A once or daily item is due in the first 21 seconds of its minute, a weekly one in 11.
constexpr int kDueSeconds = 21;
constexpr int kWeeklyDueSeconds = 11;
constexpr std::int64_t kDaySeconds = 86400;
constexpr std::int64_t kWeekSeconds = 7 * kDaySeconds;
constexpr std::int64_t kNextDueHorizon = 30 * kDaySeconds;
// Room kept after a stored item before a new one may start.
constexpr std::int64_t kClashPadding = 10;

struct LocalTime {
  explicit LocalTime(std::int64_t time) : at(static_cast<time_t>(time)) {}
  int Date() const { return at.GetYear() * 10000 + at.GetMonth() * 100 + at.GetDay(); }
  int Weekday() const { return at.GetDayOfWeek() - 1; }
  std::int64_t SecondOfDay() const { return at.GetHour() * 3600 + at.GetMinute() * 60 + at.GetSecond(); }
  bool SameMinute(const LocalTime& other) const {
    return Date() == other.Date() && at.GetHour() == other.at.GetHour() && at.GetMinute() == other.at.GetMinute();
  }
  // This day at `hour`:`minute`:00.
  std::int64_t DayAt(int hour, int minute) const {
    return CTime(at.GetYear(), at.GetMonth(), at.GetDay(), hour, minute, 0).GetTime();
  }
  CTime at;
};

bool IsWeekly(int recurrence) { return recurrence != kDaily && recurrence != kOnce; }

// Whether [aStart, aEnd] meets b's window [bStart, bEnd + padding]. Any meeting counts, so a
// new item that holds a stored one inside it clashes too.
bool WindowsMeet(std::int64_t aStart, std::int64_t aEnd, std::int64_t bStart, std::int64_t bEnd) {
  return aStart <= bEnd + kClashPadding && bStart <= aEnd;
}

// A daily item runs every day, so a window that crosses midnight also meets the other
// item's run of the day before or after.
bool MeetAcrossMidnight(const CScheduleItem& a, const CScheduleItem& b) {
  if (a.recurrence != kDaily && b.recurrence != kDaily) return false;
  const std::int64_t aStart = LocalTime(a.start).SecondOfDay();
  const std::int64_t bStart = LocalTime(b.start).SecondOfDay();
  for (const std::int64_t shift : {-kDaySeconds, kDaySeconds}) {
    if (WindowsMeet(aStart + shift, aStart + shift + a.duration, bStart, bStart + b.duration)) return true;
  }
  return false;
}

bool DueAt(const CScheduleItem& item, const LocalTime& now) {
  const LocalTime start(item.start);
  const bool sameTime = start.at.GetHour() == now.at.GetHour() && start.at.GetMinute() == now.at.GetMinute();
  const int second = now.at.GetSecond();
  if (item.recurrence == kDaily) return start.Date() <= now.Date() && sameTime && second < kDueSeconds;
  if (item.recurrence == kOnce) return start.SameMinute(now) && second < kDueSeconds;
  return item.recurrence == now.Weekday() && sameTime && second < kWeeklyDueSeconds;
}

// The item's next start at or after `now`; -1 for none.
std::int64_t NextStart(const CScheduleItem& item, std::int64_t now) {
  const LocalTime today(now);
  const LocalTime start(item.start);
  const int hour = start.at.GetHour();
  const int minute = start.at.GetMinute();
  if (item.recurrence == kOnce) return now <= item.start ? item.start : -1;
  if (item.recurrence == kDaily) {
    std::int64_t candidate = today.DayAt(hour, minute);
    if (now > candidate) candidate += kDaySeconds;
    // A daily item does not start before its first day.
    const std::int64_t first = start.DayAt(hour, minute);
    return candidate < first ? first : candidate;
  }
  if (item.recurrence < 0 || item.recurrence > 6) return -1;  // no weekday matches
  int days = item.recurrence - today.Weekday();
  if (days < 0) days += 7;
  std::int64_t candidate = today.DayAt(hour, minute) + days * kDaySeconds;
  if (now > candidate) candidate += kWeekSeconds;
  return candidate;
}

}  // namespace

CScheduleItem* CScheduleList::FindDueItemAt(time_t when) const {
  const LocalTime now(when);
  for (int i = 0; i < GetCount(); ++i) {
    if (DueAt(*ItemAt(i), now)) return ItemAt(i);
  }
  return nullptr;
}

CScheduleItem* CScheduleList::FindItemComingDue(time_t after, time_t until) const {
  for (int i = 0; i < GetCount(); ++i) {
    const CScheduleItem& item = *ItemAt(i);
    for (time_t t = after + 1; t <= until; ++t) {
      if (DueAt(item, LocalTime(t)) && !DueAt(item, LocalTime(t - 1))) return ItemAt(i);
    }
  }
  return nullptr;
}

CScheduleItem* CScheduleList::FindDueItem() const { return FindDueItemAt(CTime::GetCurrentTime().GetTime()); }

CScheduleItem* CScheduleList::FindItemStartingSoon() const {
  return FindDueItemAt(CTime::GetCurrentTime().GetTime() + kLookAheadSeconds);
}

time_t CScheduleList::GetNextDueTime() const {
  const std::int64_t now = CTime::GetCurrentTime().GetTime();
  const std::int64_t limit = now + kNextDueHorizon;
  std::int64_t best = limit;
  for (int i = 0; i < GetCount(); ++i) {
    const std::int64_t candidate = NextStart(*ItemAt(i), now);
    if (candidate >= 0 && candidate < best) best = candidate;
  }
  return best != limit ? static_cast<time_t>(best) : 0;
}

bool CScheduleList::OverlapByTimeOfDay(const CScheduleItem* a, const CScheduleItem* b) {
  if (!a || !b) return false;
  const std::int64_t aStart = LocalTime(a->start).SecondOfDay();
  const std::int64_t bStart = LocalTime(b->start).SecondOfDay();
  return WindowsMeet(aStart, aStart + a->duration, bStart, bStart + b->duration);
}

bool CScheduleList::OverlapOnce(const CScheduleItem* a, const CScheduleItem* b) {
  if (!a || !b) return false;
  return WindowsMeet(a->start, static_cast<std::int64_t>(a->start) + a->duration, b->start,
                     static_cast<std::int64_t>(b->start) + b->duration);
}

bool CScheduleList::ItemsConflict(const CScheduleItem* a, const CScheduleItem* b) {
  if (!a || !b) return false;
  const bool aWeekly = IsWeekly(a->recurrence);
  const bool bWeekly = IsWeekly(b->recurrence);
  if (a->recurrence == kOnce && b->recurrence == kOnce) return OverlapOnce(a, b);
  // A daily item meets a once item only from its first day on.
  if (a->recurrence == kDaily && b->recurrence == kOnce && LocalTime(a->start).Date() > LocalTime(b->start).Date())
    return false;
  if (a->recurrence == kOnce && bWeekly && LocalTime(a->start).Weekday() != b->recurrence) return false;
  if (aWeekly && b->recurrence == kOnce && a->recurrence != LocalTime(b->start).Weekday()) return false;
  if (aWeekly && bWeekly && a->recurrence != b->recurrence) return false;
  return OverlapByTimeOfDay(a, b) || MeetAcrossMidnight(*a, *b);
}

bool CScheduleList::FindConflict(const CScheduleItem* item) const {
  if (!item) return false;
  for (int i = 0; i < GetCount(); ++i) {
    if (ItemsConflict(item, ItemAt(i))) return true;
  }
  return false;
}

// A flagged once item goes once the due window of its minute has passed, also when that
// happened while the program was closed.
int CScheduleList::RemoveExpiredOnceItems() {
  const std::int64_t now = CTime::GetCurrentTime().GetTime();
  for (int i = GetCount() - 1; i >= 0; --i) {
    const CScheduleItem& item = *ItemAt(i);
    if (item.recurrence != kOnce || item.flag == 0) continue;
    const std::int64_t minuteStart = static_cast<std::int64_t>(item.start) - LocalTime(item.start).at.GetSecond();
    if (now >= minuteStart + kDueSeconds) DeleteAt(i);
  }
  return 1;
}

int CScheduleList::RecurrenceFromKeyword(LPCSTR text) {
  static constexpr const char* kKeywords[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "DAY"};
  if (!text) return kOnce;
  for (int i = 0; i < static_cast<int>(std::size(kKeywords)); ++i) {
    if (std::strcmp(text, kKeywords[i]) == 0) return i;
  }
  return kOnce;
}
