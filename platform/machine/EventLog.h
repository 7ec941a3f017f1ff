// What the programs asked of the PC that the simulation records instead of doing: power
// requests (standby, shutdown, wake timers, execution state) in power.log, other
// requests in events.log, both in the machine root, where tests read them back.
//
// One line per entry: "YYYY-MM-DD HH:MM:SS.mmm<TAB>category<TAB>text", stamped with the
// machine clock's local time. Each entry is a single write to a file opened for
// appending, so entries from several threads or processes never interleave.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Machine;

class EventLog {
 public:
  struct Entry {
    std::string time;  // local, "2024-03-01 12:00:00.000"
    std::string category;
    std::string text;
  };

  static EventLog events(Machine& machine);
  static EventLog power(Machine& machine);

  const std::filesystem::path& path() const { return m_path; }
  // False when the file cannot be written. Tabs and line breaks in the fields become
  // spaces, so an entry stays one line.
  bool write(std::string_view category, std::string_view text) const;
  // Every entry in file order; lines that are not entries are skipped, and a missing
  // file has none.
  std::vector<Entry> read() const;

 private:
  EventLog(Machine& machine, const char* fileName);

  Machine& m_machine;
  std::filesystem::path m_path;
};

}  // namespace plat
