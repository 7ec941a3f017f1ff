#include <win32/kernel/MutexFile.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace plat {

namespace {

constexpr off_t kHolders = 0;
constexpr off_t kGuard = 1;
constexpr off_t kOwner = 2;
constexpr std::size_t kLongestFileName = 200;

struct flock byteLock(short type, off_t byte) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  return lock;
}

bool setLock(int fd, short type, off_t byte, bool wait) {
  struct flock lock = byteLock(type, byte);
  for (;;) {
    if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

bool lockedByOthers(int fd, off_t byte) {
  struct flock lock = byteLock(F_WRLCK, byte);
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
  return lock.l_type != F_UNLCK;
}

// Without the mark a later owner cannot tell an abandoned mutex; ownership still works.
void writeMark(int fd, bool owned) {
  const char mark = owned ? 1 : 0;
  [[maybe_unused]] const ssize_t written = pwrite(fd, &mark, 1, 0);
}

bool readMark(int fd) {
  char mark = 0;
  return pread(fd, &mark, 1, 0) == 1 && mark == 1;
}

}  // namespace

std::filesystem::path MutexFile::pathFor(const std::filesystem::path& folder, std::string_view name) {
  std::string file;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    const bool safe = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '-' ||
                      u == '_' || u == '{' || u == '}';
    if (safe) {
      file += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", u);
      file += escaped;
    }
  }
  if (file.empty() || file.size() > kLongestFileName) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char hashed[32];
    std::snprintf(hashed, sizeof hashed, "%%long-%016llx", static_cast<unsigned long long>(hash));
    file = hashed;
  }
  return folder / file;
}

std::unique_ptr<MutexFile> MutexFile::join(const std::filesystem::path& path, bool openOnly, Join& outcome) {
  outcome = Join::Failed;
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::unique_ptr<MutexFile> file(new MutexFile(fd));
  const auto fail = [&file] {
    const int error = errno;
    file.reset();
    errno = error;
    return nullptr;
  };
  if (!setLock(fd, F_WRLCK, kGuard, true)) return fail();
  const bool existed = lockedByOthers(fd, kHolders);
  if (!existed && openOnly) {
    outcome = Join::Missing;
    return nullptr;  // closing drops the guard
  }
  if (!existed) writeMark(fd, false);  // a fresh name is never abandoned
  if (!setLock(fd, F_RDLCK, kHolders, false)) return fail();
  setLock(fd, F_UNLCK, kGuard, false);
  outcome = existed ? Join::Existed : Join::Created;
  return file;
}

MutexFile::~MutexFile() { close(m_fd); }

bool MutexFile::tryOwn(bool& abandoned) {
  if (!setLock(m_fd, F_WRLCK, kOwner, false)) return false;
  abandoned = readMark(m_fd);
  writeMark(m_fd, true);
  return true;
}

void MutexFile::disown(bool abandoned) {
  writeMark(m_fd, abandoned);
  setLock(m_fd, F_UNLCK, kOwner, false);
}

}  // namespace plat
