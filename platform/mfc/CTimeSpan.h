// A signed span of whole seconds: days, hours, minutes and seconds, and the totals.
// Format understands %D (total days), %H, %M, %S (two digits each) and %%.
#pragma once

#include <mfc/CString.h>

#include <ctime>

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(time_t time) : m_timeSpan(time) {}  // NOLINT: implicit, as callers expect
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  LONGLONG GetDays() const { return m_timeSpan / 86400; }
  LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
  LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
  LONGLONG GetTotalSeconds() const { return m_timeSpan; }
  // The components within the day: hours 0..23, minutes and seconds 0..59 (negative for
  // a negative span).
  int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
  int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
  int GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }

  CString Format(LPCSTR pFormat) const;

  CTimeSpan operator+(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan + timeSpan.m_timeSpan); }
  CTimeSpan operator-(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan - timeSpan.m_timeSpan); }
  CTimeSpan& operator+=(CTimeSpan timeSpan) {
    m_timeSpan += timeSpan.m_timeSpan;
    return *this;
  }
  CTimeSpan& operator-=(CTimeSpan timeSpan) {
    m_timeSpan -= timeSpan.m_timeSpan;
    return *this;
  }
  bool operator==(CTimeSpan timeSpan) const { return m_timeSpan == timeSpan.m_timeSpan; }
  bool operator!=(CTimeSpan timeSpan) const { return m_timeSpan != timeSpan.m_timeSpan; }
  bool operator<(CTimeSpan timeSpan) const { return m_timeSpan < timeSpan.m_timeSpan; }
  bool operator>(CTimeSpan timeSpan) const { return m_timeSpan > timeSpan.m_timeSpan; }
  bool operator<=(CTimeSpan timeSpan) const { return m_timeSpan <= timeSpan.m_timeSpan; }
  bool operator>=(CTimeSpan timeSpan) const { return m_timeSpan >= timeSpan.m_timeSpan; }

 private:
  time_t m_timeSpan = 0;
};
