#include <machine/FileReplacement.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <string>

namespace fs = std::filesystem;

namespace plat {

namespace {

constexpr std::string_view kTemporarySuffix = ".saving";

int writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t put = ::write(fd, data.data(), data.size());
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    data.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

// "<name>.<pid>.<n>.saving" -> pid, or 0 when `entry` is not a temporary of `name`.
pid_t ownerOfTemporary(std::string_view entry, std::string_view name) {
  if (entry.size() <= name.size() + kTemporarySuffix.size() + 1 || !entry.starts_with(name) ||
      entry[name.size()] != '.' || !entry.ends_with(kTemporarySuffix))
    return 0;
  entry = entry.substr(name.size() + 1, entry.size() - name.size() - 1 - kTemporarySuffix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), pid);
  return error == std::errc() && end != entry.data() + entry.size() && *end == '.' ? pid : 0;
}

}  // namespace

int FileReplacement::replace(const fs::path& target, std::string_view contents, int* openFile) {
  static std::atomic<unsigned> counter{0};
  const fs::path temporary = target.string() + "." + std::to_string(::getpid()) + "." +
                             std::to_string(counter++) + std::string(kTemporarySuffix);
  const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  int err = writeAll(fd, contents);
  if (!err && ::fsync(fd) != 0) err = errno;
  if (!err) err = renameDurably(temporary, target);
  if (err) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return err;
  }
  if (openFile)
    *openFile = fd;
  else
    ::close(fd);
  removeDeadTemporaries(target);
  return 0;
}

int FileReplacement::renameDurably(const fs::path& from, const fs::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return errno;
  return syncFolder(to.parent_path());
}

int FileReplacement::syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;  // some file systems cannot sync folders
  ::close(fd);
  return err;
}

fs::path FileReplacement::leftoverOf(const fs::path& target) { return target.string() + ".new"; }

bool FileReplacement::takeLeftover(const fs::path& target) {
  removeDeadTemporaries(target);
  struct stat info {};
  if (::lstat(target.c_str(), &info) == 0 || errno != ENOENT) return false;
  const fs::path leftover = leftoverOf(target);
  if (::stat(leftover.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return renameDurably(leftover, target) == 0;
}

void FileReplacement::removeDeadTemporaries(const fs::path& target) {
  const std::string name = target.filename().string();
  std::error_code ec;
  for (fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    const pid_t owner = ownerOfTemporary(entry, name);
    if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

}  // namespace plat
