#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/time.h>

#include <thread>

namespace {

using TimeTest = test::MachineTest;

// 2024-03-01 12:00:00 UTC as FILETIME.
constexpr ULONGLONG kStartFileTime = 133'537'680'000'000'000ull;

FILETIME fileTime(ULONGLONG quad) { return {static_cast<DWORD>(quad), static_cast<DWORD>(quad >> 32)}; }
ULONGLONG quad(const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

SYSTEMTIME systemTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}

void expectTime(const SYSTEMTIME& t, WORD year, WORD month, WORD day, WORD dayOfWeek, WORD hour, WORD minute,
                WORD second, WORD ms) {
  EXPECT_EQ(t.wYear, year);
  EXPECT_EQ(t.wMonth, month);
  EXPECT_EQ(t.wDay, day);
  EXPECT_EQ(t.wDayOfWeek, dayOfWeek);
  EXPECT_EQ(t.wHour, hour);
  EXPECT_EQ(t.wMinute, minute);
  EXPECT_EQ(t.wSecond, second);
  EXPECT_EQ(t.wMilliseconds, ms);
}

TEST_F(TimeTest, SystemAndLocalTimeFollowTheClockAndItsOffset) {
  SYSTEMTIME t;
  GetSystemTime(&t);
  expectTime(t, 2024, 3, 1, 5, 12, 0, 0, 0);  // a Friday
  GetLocalTime(&t);
  expectTime(t, 2024, 3, 1, 5, 12, 0, 0, 0);

  machine().clock().setUtcOffsetMinutes(8 * 60);
  machine().clock().advance(1'500);
  GetLocalTime(&t);
  expectTime(t, 2024, 3, 1, 5, 20, 0, 1, 500);
  GetSystemTime(&t);
  expectTime(t, 2024, 3, 1, 5, 12, 0, 1, 500);

  machine().clock().setUtcOffsetMinutes(-13 * 60);  // back across midnight into the leap day
  GetLocalTime(&t);
  expectTime(t, 2024, 2, 29, 4, 23, 0, 1, 500);
}

TEST_F(TimeTest, TickCountsMoveWithTheClockAndSleepMovesOnlyTheSleeper) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(timeGetTime(), start);
  machine().clock().advance(20'000);
  EXPECT_EQ(GetTickCount(), start + 20'000);
  Sleep(250);
  EXPECT_EQ(GetTickCount(), start + 20'250);
  DWORD seenByOther = 0;
  std::thread([&] { seenByOther = GetTickCount(); }).join();
  EXPECT_EQ(seenByOther, start + 20'000);
}

TEST_F(TimeTest, PerformanceCounterCountsTheClockAtTenMegahertz) {
  LARGE_INTEGER frequency, before, after;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 10'000'000);
  QueryPerformanceCounter(&before);
  machine().clock().advance(1'500);
  QueryPerformanceCounter(&after);
  EXPECT_EQ(after.QuadPart - before.QuadPart, 15'000'000);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST_F(TimeTest, SystemFileTimeMatchesSystemTime) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  EXPECT_EQ(quad(now), kStartFileTime);
  SYSTEMTIME t;
  ASSERT_TRUE(FileTimeToSystemTime(&now, &t));
  expectTime(t, 2024, 3, 1, 5, 12, 0, 0, 0);

  const FILETIME origin = fileTime(0);
  ASSERT_TRUE(FileTimeToSystemTime(&origin, &t));
  expectTime(t, 1601, 1, 1, 1, 0, 0, 0, 0);  // a Monday

  const FILETIME subMillisecond = fileTime(kStartFileTime + 12'345'678);  // 1.2345678 s later
  ASSERT_TRUE(FileTimeToSystemTime(&subMillisecond, &t));
  expectTime(t, 2024, 3, 1, 5, 12, 0, 1, 234);

  const FILETIME highBit = fileTime(0x8000'0000'0000'0000ull);
  EXPECT_FALSE(FileTimeToSystemTime(&highBit, &t));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(TimeTest, SystemTimeToFileTimeRoundTripsAndRejectsBadFields) {
  SYSTEMTIME in = systemTime(2024, 2, 29, 23, 59, 59, 999);
  in.wDayOfWeek = 6;  // wrong on purpose: ignored
  FILETIME converted;
  ASSERT_TRUE(SystemTimeToFileTime(&in, &converted));
  SYSTEMTIME out;
  ASSERT_TRUE(FileTimeToSystemTime(&converted, &out));
  expectTime(out, 2024, 2, 29, 4, 23, 59, 59, 999);

  const SYSTEMTIME bad[] = {systemTime(2023, 2, 29), systemTime(2024, 13, 1), systemTime(2024, 4, 31),
                            systemTime(2024, 1, 0),  systemTime(1600, 12, 31), systemTime(2024, 1, 1, 24),
                            systemTime(2024, 1, 1, 0, 60), systemTime(2024, 1, 1, 0, 0, 60),
                            systemTime(2024, 1, 1, 0, 0, 0, 1000)};
  for (const SYSTEMTIME& t : bad) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&t, &converted)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  const SYSTEMTIME first = systemTime(1601, 1, 1);
  ASSERT_TRUE(SystemTimeToFileTime(&first, &converted));
  EXPECT_EQ(quad(converted), 0u);
}

TEST_F(TimeTest, LocalFileTimesShiftByTheMachineOffset) {
  machine().clock().setUtcOffsetMinutes(8 * 60);
  const FILETIME utc = fileTime(kStartFileTime);
  FILETIME local, back;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  EXPECT_EQ(quad(local), kStartFileTime + 8ull * 3600 * 10'000'000);
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(quad(back), kStartFileTime);

  // A wake-up two minutes before 08:00 local, as a scheduler arms it.
  const SYSTEMTIME wake = systemTime(2024, 3, 2, 7, 58);
  FILETIME wakeLocal, wakeUtc;
  ASSERT_TRUE(SystemTimeToFileTime(&wake, &wakeLocal));
  ASSERT_TRUE(LocalFileTimeToFileTime(&wakeLocal, &wakeUtc));
  SYSTEMTIME t;
  ASSERT_TRUE(FileTimeToSystemTime(&wakeUtc, &t));
  expectTime(t, 2024, 3, 1, 5, 23, 58, 0, 0);

  const FILETIME origin = fileTime(0);
  EXPECT_FALSE(LocalFileTimeToFileTime(&origin, &back));  // would fall before 1601
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(TimeTest, CompareFileTimeOrdersByTheWholeValue) {
  const FILETIME earlier = {0xFFFF'FFFFu, 1};
  const FILETIME later = {0, 2};
  EXPECT_EQ(CompareFileTime(&earlier, &later), -1);
  EXPECT_EQ(CompareFileTime(&later, &earlier), 1);
  EXPECT_EQ(CompareFileTime(&later, &later), 0);
}

}  // namespace
