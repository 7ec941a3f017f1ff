// One planned view or recording as "schedulefile.she" stores it: nine little-endian
// signed 32-bit integers, back to back, no header.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

struct ScheduleRecord {
  std::int32_t start;       // time_t, seconds since 1970 UTC
  std::int32_t duration;    // seconds
  std::int32_t recurrence;  // 0..6 weekly on that weekday, 7 daily, 8 once
  std::int32_t channel1;    // channel in list 1 (antenna)
  std::int32_t channel2;    // channel in list 2 (cable)
  std::int32_t source;      // 0 antenna, 1 cable, 2 Composite
  std::int32_t mode;        // 0 view, 1 record
  std::int32_t action;      // after recording: 0 nothing, 1 close, 2 standby, 3 shut down
  std::int32_t flag;        // nonzero: a once item to delete when its minute has passed
};

// The file holds the records as they lie in memory.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(ScheduleRecord) == 36);
static_assert(offsetof(ScheduleRecord, start) == 0);
static_assert(offsetof(ScheduleRecord, duration) == 4);
static_assert(offsetof(ScheduleRecord, recurrence) == 8);
static_assert(offsetof(ScheduleRecord, channel1) == 12);
static_assert(offsetof(ScheduleRecord, channel2) == 16);
static_assert(offsetof(ScheduleRecord, source) == 20);
static_assert(offsetof(ScheduleRecord, mode) == 24);
static_assert(offsetof(ScheduleRecord, action) == 28);
static_assert(offsetof(ScheduleRecord, flag) == 32);
