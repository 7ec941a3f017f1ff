// Channel up and down over any list: records by number with their skip flags, from any
// current number. The walk ends, and finds exactly the record a walk over the list's
// records in number order finds: the first one not skipped after (before) the current
// number, going round once, never the current number itself.
#include "FuzzInput.h"
#include "FuzzMachine.h"

#include "core/data/CChannelList.h"

#include <map>
#include <vector>

namespace {

// The walk written plainly over the records in walk order (ascending for up, descending
// for down): from the first record past the current number when the current number lies
// inside the list's range, else from the start, round once; 0 on meeting the current
// number or when every record is skipped.
int Expected(const std::vector<std::pair<int, bool>>& walk, int current, bool up) {
  if (walk.empty()) return 0;
  const int first = walk.front().first;
  const int last = walk.back().first;
  const bool inside = up ? current >= first && current < last : current <= first && current > last;
  std::size_t start = 0;
  while (inside && start < walk.size() && (up ? walk[start].first <= current : walk[start].first >= current)) ++start;
  for (std::size_t k = 0; k < walk.size(); ++k) {
    const auto& [number, skipped] = walk[(start + k) % walk.size()];
    if (number == current) return 0;
    if (!skipped) return number;
  }
  return 0;
}

void Check(const CChannelList& list, const std::map<int, bool>& records, int current) {
  const std::vector<std::pair<int, bool>> up(records.begin(), records.end());
  const std::vector<std::pair<int, bool>> down(records.rbegin(), records.rend());
  for (const bool next : {true, false}) {
    ChannelRecord found{};
    const int result = next ? list.NextChannel(current, 1, &found) : list.PrevChannel(current, 1, &found);
    const int expected = Expected(next ? up : down, current, next);
    fuzz::check(result == (expected != 0), "the walk finds a record exactly when one is eligible");
    if (result) fuzz::check(found.ChannelNumber == expected, "the walk finds the nearest eligible record");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzMachine::get();
  fuzz::FuzzInput in(data, size);
  const int current = in.takeInt();
  CChannelList list;
  std::map<int, bool> records;
  while (in.left() >= 5 && records.size() < 300) {
    const int number = in.takeInt();
    const bool skipped = (in.takeByte() & 1) != 0;
    auto* record = new ChannelRecord{};
    record->SkipFlag = skipped ? 1 : 0;
    record->ChannelNumber = number;
    if (list.AddChannel(1, record)) {
      records[number] = skipped;
    } else {
      delete record;  // a number below 1 is refused and left to its owner
    }
  }
  Check(list, records, current);
  for (const auto& [number, skipped] : records) Check(list, records, number);
  return 0;
}
