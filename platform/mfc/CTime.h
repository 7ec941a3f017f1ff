// An absolute time in whole seconds since 1970 UTC. Every conversion to and from calendar
// fields uses the machine clock's local-time rules (a fixed UTC offset from machine.ini,
// no daylight saving), never the host's time zone, and GetCurrentTime reads the machine
// clock, so tests on a manual clock see exact, repeatable dates. The DST arguments are
// accepted for compatibility; the machine has no daylight saving.
//
// Format understands %a %A %b %B %c %d %H %I %j %m %M %p %S %w %x %X %y %Y %% with the
// "C" locale's English names and forms (%c "03/01/24 12:00:00", %x "03/01/24",
// %X "12:00:00"); any other code is copied as written.
#pragma once

#include <mfc/CString.h>
#include <mfc/CTimeSpan.h>

#include <ctime>

class CTime {
 public:
  static CTime PASCAL GetCurrentTime();

  CTime() = default;
  CTime(time_t time) : m_time(time) {}  // NOLINT: implicit, as callers expect
  // Local calendar fields; out-of-range fields carry over as mktime's do.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  // Local time.
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);
  // UTC, as file times are.
  CTime(const FILETIME& fileTime, int nDST = -1);

  time_t GetTime() const { return m_time; }
  int GetYear() const { return Local().tm_year + 1900; }
  int GetMonth() const { return Local().tm_mon + 1; }
  int GetDay() const { return Local().tm_mday; }
  int GetHour() const { return Local().tm_hour; }
  int GetMinute() const { return Local().tm_min; }
  int GetSecond() const { return Local().tm_sec; }
  // 1 = Sunday … 7 = Saturday.
  int GetDayOfWeek() const { return Local().tm_wday + 1; }
  // Local time; FALSE when the year does not fit a SYSTEMTIME (1601..30827).
  BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

  CString Format(LPCSTR pFormat) const;

  CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.GetTotalSeconds()); }
  CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.GetTotalSeconds()); }
  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime& operator+=(CTimeSpan timeSpan) {
    m_time += timeSpan.GetTotalSeconds();
    return *this;
  }
  CTime& operator-=(CTimeSpan timeSpan) {
    m_time -= timeSpan.GetTotalSeconds();
    return *this;
  }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  bool operator!=(CTime time) const { return m_time != time.m_time; }
  bool operator<(CTime time) const { return m_time < time.m_time; }
  bool operator>(CTime time) const { return m_time > time.m_time; }
  bool operator<=(CTime time) const { return m_time <= time.m_time; }
  bool operator>=(CTime time) const { return m_time >= time.m_time; }

 private:
  std::tm Local() const;

  time_t m_time = 0;
};
