// Time, all read from the machine clock: tick counts, UTC and local wall time, FILETIME
// conversions and the performance counter. Local time is UTC moved by the machine's
// fixed offset (no daylight saving). FILETIME counts 100 ns since 1601-01-01 UTC.
#pragma once

#include <win32/types.h>

// On a manual clock, moves only the calling thread's view of time, without waiting.
void Sleep(DWORD milliseconds);
// Milliseconds since the machine started; wraps after 49.7 days.
DWORD GetTickCount();
// The multimedia timer, read from the same clock.
DWORD timeGetTime();

// wDayOfWeek is filled (0 = Sunday).
void GetSystemTime(LPSYSTEMTIME systemTime);
void GetLocalTime(LPSYSTEMTIME localTime);
void GetSystemTimeAsFileTime(LPFILETIME fileTime);

// FALSE with ERROR_INVALID_PARAMETER for a time with the high bit set.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
// FALSE with ERROR_INVALID_PARAMETER for a field out of range; wDayOfWeek is ignored.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
// FALSE with ERROR_INVALID_PARAMETER when the shifted time would fall before 1601.
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* first, const FILETIME* second);

// 10 MHz, counting the clock's milliseconds.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
