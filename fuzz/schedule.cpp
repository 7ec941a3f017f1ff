// "schedulefile.she": any bytes load as their whole records in order, whatever their fields
// hold (a part record at the end left out), unless the file holds more records than any
// schedule; what loads saves back as exactly those records.
#include "FuzzMachine.h"

#include "core/CScheduleList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("schedulefile.she", data, size);
  CScheduleList list;
  if (!list.Load(machine.programPath("schedulefile.she").c_str())) {
    fuzz::check(size / sizeof(ScheduleRecord) > 10000, "only a file of more records than any schedule is refused");
    return 0;
  }
  fuzz::check(static_cast<std::size_t>(list.GetCount()) == size / sizeof(ScheduleRecord), "every whole record loads");
  const std::string copy = machine.programPath("copy.she");
  fuzz::check(list.Save(copy.c_str()) == 1, "a loaded schedule saves");
  const std::string saved = fuzz::FuzzMachine::read(machine.programFolder() / "copy.she");
  fuzz::check(saved == std::string(reinterpret_cast<const char*>(data), size - size % sizeof(ScheduleRecord)),
              "the saved schedule is the records read");
  return 0;
}
