#include <machine/SharedPage.h>

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <system_error>

namespace plat {

SharedPage::SharedPage(const std::filesystem::path& file, std::size_t size) : m_size(size) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // Growing a file never clears what another process wrote; a new one reads as zeros.
  struct stat info {};
  if (::fstat(fd, &info) == 0 && static_cast<std::size_t>(info.st_size) < size &&
      ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    ::close(fd);
    return;
  }
  void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  ::close(fd);
  if (mapped != MAP_FAILED) m_data = mapped;
}

SharedPage::~SharedPage() {
  if (m_data) ::munmap(m_data, m_size);
}

// Not FUTEX_PRIVATE: the word may lie in a mapping other processes share.
void SharedPage::waitForChange(const std::atomic<std::uint32_t>& word, std::uint32_t seen,
                               std::chrono::microseconds limit) {
  static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit);
  const timespec timeout{static_cast<time_t>(seconds.count()),
                         static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(limit - seconds).count())};
  ::syscall(SYS_futex, reinterpret_cast<const std::uint32_t*>(&word), FUTEX_WAIT, seen, &timeout, nullptr, 0);
}

void SharedPage::wakeAll(std::atomic<std::uint32_t>& word) {
  ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

}  // namespace plat
