// One schedule entry: a schedule record owned by the schedule list that holds it.
#pragma once

#include "core/ScheduleRecord.h"

class CScheduleItem : public ScheduleRecord {
 public:
  CScheduleItem() : ScheduleRecord{} {}
  explicit CScheduleItem(const ScheduleRecord& record) : ScheduleRecord(record) {}
  virtual ~CScheduleItem() = default;
};
