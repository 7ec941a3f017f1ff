// Fixtures for the schedule list's tests: items built from local dates and times, and the
// manual clock set to a local date and time. Local time runs an hour ahead of UTC, so a
// rule that broke times down in UTC would fail.
#pragma once

#include "CoreTest.h"

#include "core/CScheduleList.h"

#include <mfc/CTime.h>

namespace test {

inline constexpr int kDaily = 7;
inline constexpr int kOnce = 8;

class ScheduleTest : public CoreTest {
 protected:
  ScheduleTest() { machine().clock().setUtcOffsetMinutes(60); }

  static time_t at(int year, int month, int day, int hour, int minute, int second = 0) {
    return CTime(year, month, day, hour, minute, second).GetTime();
  }
  void setNow(time_t when) { machine().clock().setManual(static_cast<std::int64_t>(when) * 1000); }
  void setNow(int year, int month, int day, int hour, int minute, int second = 0) {
    setNow(at(year, month, day, hour, minute, second));
  }
  static CScheduleItem item(time_t start, int duration, int recurrence, int flag = 0) {
    CScheduleItem made;
    made.start = static_cast<std::int32_t>(start);
    made.duration = duration;
    made.recurrence = recurrence;
    made.flag = flag;
    return made;
  }
};

}  // namespace test
