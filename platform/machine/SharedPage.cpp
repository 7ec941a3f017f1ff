#include <machine/SharedPage.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace plat
