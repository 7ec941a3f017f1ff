#include <machine/EventLog.h>

#include <machine/Machine.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace plat {

namespace {

void appendField(std::string& line, std::string_view field) {
  for (const char c : field) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

std::string localStamp(Clock& clock) {
  const std::int64_t ms = clock.unixMs();
  std::int64_t seconds = ms / 1000;
  std::int64_t millis = ms % 1000;
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  const std::tm local = clock.toLocal(seconds);
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
  return stamp;
}

}  // namespace

EventLog::EventLog(Machine& machine, const char* fileName) : m_machine(machine), m_path(machine.root() / fileName) {}

EventLog EventLog::events(Machine& machine) { return EventLog(machine, "events.log"); }

EventLog EventLog::power(Machine& machine) { return EventLog(machine, "power.log"); }

bool EventLog::write(std::string_view category, std::string_view text) const {
  std::string line = localStamp(m_machine.clock());
  line += '\t';
  appendField(line, category);
  line += '\t';
  appendField(line, text);
  line += '\n';
  const int fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  close(fd);
  return written;
}

std::vector<EventLog::Entry> EventLog::read() const {
  std::vector<Entry> entries;
  std::ifstream in(m_path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const auto first = line.find('\t');
    if (first == std::string::npos) continue;
    const auto second = line.find('\t', first + 1);
    if (second == std::string::npos) continue;
    entries.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)});
  }
  return entries;
}

}  // namespace plat
