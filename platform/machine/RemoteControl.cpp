#include <machine/RemoteControl.h>

#include <machine/Machine.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace plat {

namespace {

// The queue file under an exclusive lock for one read-modify-write.
class LockedQueue {
 public:
  explicit LockedQueue(const std::filesystem::path& file)
      : m_fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
      ::close(m_fd);
      m_fd = -1;
    }
  }
  ~LockedQueue() {
    if (m_fd >= 0) ::close(m_fd);  // drops the lock
  }
  bool ok() const { return m_fd >= 0; }

  std::vector<std::pair<std::uint32_t, std::uint32_t>> read() const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reports;
    std::string text;
    char buffer[4096];
    ::lseek(m_fd, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    unsigned long w0 = 0, w1 = 0;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = text.find('\n', at);
      const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
      if (std::sscanf(line.c_str(), "%lx %lx", &w0, &w1) == 2)
        reports.emplace_back(static_cast<std::uint32_t>(w0), static_cast<std::uint32_t>(w1));
      if (end == std::string::npos) break;
      at = end + 1;
    }
    return reports;
  }

  bool write(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& reports) const {
    std::string text;
    char line[32];
    for (const auto& [w0, w1] : reports) {
      std::snprintf(line, sizeof line, "%08x %08x\n", w0, w1);
      text += line;
    }
    if (::ftruncate(m_fd, 0) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0) return false;
    return ::write(m_fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }

 private:
  int m_fd;
};

}  // namespace

RemoteControl::RemoteControl(Machine& machine) : m_file(machine.runFolder() / "remote") {}

bool RemoteControl::press(int key, int polls) {
  LockedQueue queue(m_file);
  if (!queue.ok()) return false;
  auto reports = queue.read();
  const std::uint32_t code = static_cast<std::uint32_t>(key & 0xFF) << 8;
  for (int i = 0; i < (polls < 1 ? 1 : polls); ++i) reports.emplace_back(code | (i == 0 ? 0u : 1u), kValid);
  return queue.write(reports);
}

bool RemoteControl::queueRaw(std::uint32_t word0, std::uint32_t word1) {
  LockedQueue queue(m_file);
  if (!queue.ok()) return false;
  auto reports = queue.read();
  reports.emplace_back(word0, word1);
  return queue.write(reports);
}

bool RemoteControl::take(std::uint32_t& word0, std::uint32_t& word1) {
  LockedQueue queue(m_file);
  if (!queue.ok()) return false;
  auto reports = queue.read();
  if (reports.empty()) {
    word0 = kNoKey;
    word1 = kValid;
    return true;
  }
  word0 = reports.front().first;
  word1 = reports.front().second;
  reports.erase(reports.begin());
  return queue.write(reports);
}

int RemoteControl::pending() const {
  LockedQueue queue(m_file);
  return queue.ok() ? static_cast<int>(queue.read().size()) : 0;
}

}  // namespace plat
