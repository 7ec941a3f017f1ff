#include <mfc/CTime.h>
#include <mfc/CTimeSpan.h>

#include <support/TestMachine.h>

#include <gtest/gtest.h>

namespace {

class CTimeTest : public test::MachineTest {};

TEST_F(CTimeTest, CurrentTimeFollowsTheMachineClock) {
  const CTime start = CTime::GetCurrentTime();
  EXPECT_EQ(start.GetTime(), test::kStartUnixMs / 1000);
  EXPECT_EQ(start.GetYear(), 2024);
  EXPECT_EQ(start.GetMonth(), 3);
  EXPECT_EQ(start.GetDay(), 1);
  EXPECT_EQ(start.GetHour(), 12);
  EXPECT_EQ(start.GetDayOfWeek(), 6);  // Friday, counted from Sunday = 1

  machine().clock().advance(90 * 1000);
  const CTime later = CTime::GetCurrentTime();
  EXPECT_EQ((later - start).GetTotalSeconds(), 90);
  EXPECT_EQ(later.GetMinute(), 1);
  EXPECT_EQ(later.GetSecond(), 30);
}

TEST_F(CTimeTest, LocalFieldsUseTheMachineOffsetNotTheHostZone) {
  machine().clock().setUtcOffsetMinutes(8 * 60);
  const CTime now = CTime::GetCurrentTime();
  EXPECT_EQ(now.GetHour(), 20);
  EXPECT_EQ(now.Format("%Y%m%d%H%M%S"), "20240301200000");
  const CTime fromFields(2024, 3, 1, 20, 0, 0);
  EXPECT_EQ(fromFields, now);
}

TEST_F(CTimeTest, FieldsCarryAcrossAYearEnd) {
  const CTime eve(2023, 12, 31, 23, 59, 30);
  EXPECT_EQ(eve.GetDayOfWeek(), 1);  // a Sunday
  const CTime next = eve + CTimeSpan(0, 0, 0, 45);
  EXPECT_EQ(next.GetYear(), 2024);
  EXPECT_EQ(next.GetMonth(), 1);
  EXPECT_EQ(next.GetDay(), 1);
  EXPECT_EQ(next.GetSecond(), 15);
  EXPECT_EQ(next.GetDayOfWeek(), 2);
  EXPECT_EQ(next.Format("%j %y"), "001 24");
  // Out-of-range fields carry over instead of failing.
  EXPECT_EQ(CTime(2023, 13, 1, 0, 0, 0), CTime(2024, 1, 1, 0, 0, 0));
  EXPECT_EQ(CTime(2024, 2, 30, 0, 0, 0), CTime(2024, 3, 1, 0, 0, 0));
  EXPECT_EQ(CTime(2024, 12, 31, 0, 0, 0).Format("%j"), "366");  // leap year
}

TEST_F(CTimeTest, FormatsEveryCode) {
  const CTime t(2024, 3, 1, 9, 5, 7);
  EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-03-01 09:05:07");
  EXPECT_EQ(t.Format("%A %a %B %b"), "Friday Fri March Mar");
  EXPECT_EQ(t.Format("%y %j %w %I %p"), "24 061 5 09 AM");
  EXPECT_EQ(t.Format("%c|%x|%X"), "03/01/24 09:05:07|03/01/24|09:05:07");
  EXPECT_EQ(t.Format("100%% %Q end%"), "100% %Q end%");
  const CTime evening(2024, 3, 1, 0, 30, 0);
  EXPECT_EQ(evening.Format("%I %p"), "12 AM");
  EXPECT_EQ(CTime(2024, 3, 1, 12, 0, 0).Format("%I %p"), "12 PM");
  EXPECT_EQ(CTime(2024, 3, 1, 23, 0, 0).Format("%I %p"), "11 PM");
}

TEST_F(CTimeTest, ConvertsSystemAndFileTimes) {
  machine().clock().setUtcOffsetMinutes(-5 * 60);
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 3;
  st.wDay = 10;
  st.wHour = 7;
  st.wMinute = 8;
  st.wSecond = 9;
  const CTime fromSystem(st);
  EXPECT_EQ(fromSystem.GetTime(), 1710072489);  // 2024-03-10 12:08:09 UTC

  SYSTEMTIME back{};
  ASSERT_TRUE(fromSystem.GetAsSystemTime(back));
  EXPECT_EQ(back.wYear, 2024);
  EXPECT_EQ(back.wDay, 10);
  EXPECT_EQ(back.wHour, 7);
  EXPECT_EQ(back.wDayOfWeek, 0);  // a Sunday
  EXPECT_EQ(back.wMilliseconds, 0);

  // File times count 100 ns units since 1601 in UTC.
  const ULONGLONG units = (1710072489ULL + 11644473600ULL) * 10000000ULL + 1234567;
  const FILETIME ft{static_cast<DWORD>(units & 0xFFFFFFFFu), static_cast<DWORD>(units >> 32)};
  EXPECT_EQ(CTime(ft), fromSystem);
}

TEST_F(CTimeTest, ComparesAndShifts) {
  CTime t(2024, 6, 1, 0, 0, 0);
  const CTime before = t;
  t += CTimeSpan(1, 2, 3, 4);
  EXPECT_GT(t, before);
  EXPECT_EQ(t - before, CTimeSpan(1, 2, 3, 4));
  t -= CTimeSpan(1, 2, 3, 4);
  EXPECT_EQ(t, before);
  EXPECT_EQ((before - CTimeSpan(0, 0, 0, 1)).Format("%Y%m%d%H%M%S"), "20240531235959");
}

TEST(CTimeSpan, SplitsIntoDaysAndComponents) {
  const CTimeSpan span(2, 25, 61, 61);  // carries: 3 days 2:02:01
  EXPECT_EQ(span.GetDays(), 3);
  EXPECT_EQ(span.GetHours(), 2);
  EXPECT_EQ(span.GetMinutes(), 2);
  EXPECT_EQ(span.GetSeconds(), 1);
  EXPECT_EQ(span.GetTotalHours(), 74);
  EXPECT_EQ(span.GetTotalMinutes(), 74 * 60 + 2);
  EXPECT_EQ(span.GetTotalSeconds(), (74 * 60 + 2) * 60 + 1);
  EXPECT_EQ(span.Format("%D days %H:%M:%S 100%%"), "3 days 02:02:01 100%");

  CTimeSpan total;
  total += CTimeSpan(0, 0, 20, 0);
  total += CTimeSpan(0, 0, 45, 0);
  EXPECT_EQ(total.Format("%H:%M"), "01:05");
  total -= CTimeSpan(0, 2, 0, 0);
  EXPECT_EQ(total.GetTotalMinutes(), -55);
  EXPECT_LT(total, CTimeSpan(0));
  EXPECT_EQ(total + CTimeSpan(0, 0, 55, 0), CTimeSpan(0));
}

}  // namespace
