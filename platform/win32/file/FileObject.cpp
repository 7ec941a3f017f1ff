#include <win32/file/FileObject.h>

#include <win32/error.h>
#include <win32/file.h>
#include <win32/file/Win32Error.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace plat {

namespace {

bool fail(DWORD error) {
  SetLastError(error);
  return false;
}

bool failWithErrno() { return fail(win32Error(errno)); }

}  // namespace

FileObject::FileObject(int fd, bool canRead, bool canWrite) : m_fd(fd), m_canRead(canRead), m_canWrite(canWrite) {}

FileObject::~FileObject() { ::close(m_fd); }

bool FileObject::read(void* buffer, DWORD size, DWORD& done) {
  done = 0;
  if (!m_canRead) return fail(ERROR_ACCESS_DENIED);
  auto* bytes = static_cast<char*>(buffer);
  while (done < size) {
    const ssize_t n = ::read(m_fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failWithErrno();
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  return true;
}

bool FileObject::write(const void* buffer, DWORD size, DWORD& done) {
  done = 0;
  if (!requireWrite()) return false;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < size) {
    const ssize_t n = ::write(m_fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failWithErrno();
    done += static_cast<DWORD>(n);
  }
  return true;
}

bool FileObject::seek(std::int64_t distance, DWORD method, std::int64_t& position) {
  std::int64_t base = 0;
  if (method == FILE_CURRENT) {
    base = ::lseek(m_fd, 0, SEEK_CUR);
  } else if (method == FILE_END) {
    if (!size(base)) return false;
  } else if (method != FILE_BEGIN) {
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (base < 0) return failWithErrno();
  const std::int64_t target = base + distance;
  if (target < 0) return fail(ERROR_NEGATIVE_SEEK);
  position = ::lseek(m_fd, target, SEEK_SET);
  return position >= 0 || failWithErrno();
}

bool FileObject::size(std::int64_t& bytes) const {
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) return failWithErrno();
  bytes = info.st_size;
  return true;
}

bool FileObject::truncateHere() {
  if (!requireWrite()) return false;
  const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(m_fd, position) != 0) return failWithErrno();
  return true;
}

bool FileObject::flush() {
  if (!requireWrite()) return false;
  return ::fdatasync(m_fd) == 0 || failWithErrno();
}

bool FileObject::requireWrite() const { return m_canWrite || fail(ERROR_ACCESS_DENIED); }

}  // namespace plat
