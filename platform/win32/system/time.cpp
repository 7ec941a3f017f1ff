#include <win32/time.h>

#include <machine/Machine.h>
#include <win32/error.h>

#include <ctime>

namespace {

constexpr std::int64_t kTicksPerMs = 10'000;  // FILETIME and performance-counter units
constexpr std::int64_t kUnixEpochTicks = 116'444'736'000'000'000;  // 1970-01-01 in FILETIME
constexpr std::uint64_t kLargestFileTime = 0x7FFF'FFFF'FFFF'FFFFull;
constexpr int kLastYear = 30827;

plat::Clock& machineClock() { return plat::Machine::current().clock(); }

std::int64_t localOffsetMs() { return static_cast<std::int64_t>(machineClock().utcOffsetMinutes()) * 60'000; }

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
  std::int64_t quotient = value / divisor;
  if (value % divisor < 0) --quotient;
  return quotient;
}

SYSTEMTIME systemTimeOf(std::int64_t unixMs) {
  const std::int64_t seconds = floorDiv(unixMs, 1000);
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  SYSTEMTIME out{};
  out.wYear = static_cast<WORD>(parts.tm_year + 1900);
  out.wMonth = static_cast<WORD>(parts.tm_mon + 1);
  out.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  out.wDay = static_cast<WORD>(parts.tm_mday);
  out.wHour = static_cast<WORD>(parts.tm_hour);
  out.wMinute = static_cast<WORD>(parts.tm_min);
  out.wSecond = static_cast<WORD>(parts.tm_sec);
  out.wMilliseconds = static_cast<WORD>(unixMs - seconds * 1000);
  return out;
}

std::uint64_t quadOf(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME fileTimeOf(std::uint64_t quad) {
  return {static_cast<DWORD>(quad & 0xFFFF'FFFFu), static_cast<DWORD>(quad >> 32)};
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValid(const SYSTEMTIME& t) {
  if (t.wYear < 1601 || t.wYear > kLastYear || t.wMonth < 1 || t.wMonth > 12) return false;
  return t.wDay >= 1 && t.wDay <= daysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 &&
         t.wSecond < 60 && t.wMilliseconds < 1000;
}

// Moves a FILETIME by the machine's local offset; fails when the result leaves the range.
BOOL shiftFileTime(const FILETIME* from, LPFILETIME to, std::int64_t byMs) {
  if (!from || !to || quadOf(*from) > kLargestFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t shifted = static_cast<std::int64_t>(quadOf(*from)) + byMs * kTicksPerMs;
  if (shifted < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *to = fileTimeOf(static_cast<std::uint64_t>(shifted));
  return TRUE;
}

}  // namespace

void Sleep(DWORD milliseconds) { machineClock().sleep(milliseconds); }

DWORD GetTickCount() { return static_cast<DWORD>(machineClock().tickMs()); }

DWORD timeGetTime() { return static_cast<DWORD>(machineClock().tickMs()); }

void GetSystemTime(LPSYSTEMTIME systemTime) { *systemTime = systemTimeOf(machineClock().unixMs()); }

void GetLocalTime(LPSYSTEMTIME localTime) { *localTime = systemTimeOf(machineClock().unixMs() + localOffsetMs()); }

void GetSystemTimeAsFileTime(LPFILETIME fileTime) {
  *fileTime = fileTimeOf(static_cast<std::uint64_t>(machineClock().unixMs() * kTicksPerMs + kUnixEpochTicks));
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime || quadOf(*fileTime) > kLargestFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t ticks = static_cast<std::int64_t>(quadOf(*fileTime));
  *systemTime = systemTimeOf(floorDiv(ticks - kUnixEpochTicks, kTicksPerMs));
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  if (!systemTime || !fileTime || !isValid(*systemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::tm parts{};
  parts.tm_year = systemTime->wYear - 1900;
  parts.tm_mon = systemTime->wMonth - 1;
  parts.tm_mday = systemTime->wDay;
  parts.tm_hour = systemTime->wHour;
  parts.tm_min = systemTime->wMinute;
  parts.tm_sec = systemTime->wSecond;
  const std::int64_t unixMs = static_cast<std::int64_t>(timegm(&parts)) * 1000 + systemTime->wMilliseconds;
  *fileTime = fileTimeOf(static_cast<std::uint64_t>(unixMs * kTicksPerMs + kUnixEpochTicks));
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  return shiftFileTime(fileTime, localFileTime, localOffsetMs());
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  return shiftFileTime(localFileTime, fileTime, -localOffsetMs());
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
  const std::uint64_t a = quadOf(*first);
  const std::uint64_t b = quadOf(*second);
  return a < b ? -1 : (a > b ? 1 : 0);
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  count->QuadPart = static_cast<LONGLONG>(machineClock().tickMs()) * kTicksPerMs;
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  frequency->QuadPart = 1000 * kTicksPerMs;
  return TRUE;
}
