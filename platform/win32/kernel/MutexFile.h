// The cross-process half of a named mutex: one file per name under the machine's
// run/mutex folder, locked with open-file-description locks, which the kernel drops when
// the file is closed or its process dies, however it dies.
//
//   byte 0  read-locked by every process that holds the name, so a process can tell
//           whether another one has it open
//   byte 1  write-locked while a process looks at byte 0 and joins, so two processes
//           never both create the name
//   byte 2  write-locked while a thread of the process owns the mutex
//
// The file's first byte of content is 1 while the mutex is owned: a process that gets
// byte 2 and still finds a 1 knows the owner died holding it. Files are never removed,
// since another process may be joining the name at that moment.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace plat {

class MutexFile {
 public:
  enum class Join { Created, Existed, Missing, Failed };

  // The file of `name` in `folder`; unsafe characters are escaped, long names hashed.
  static std::filesystem::path pathFor(const std::filesystem::path& folder, std::string_view name);
  // Joins the holders of the name at `path`. With `openOnly`, a name no other process
  // holds is Missing and not joined. Failed leaves errno set.
  static std::unique_ptr<MutexFile> join(const std::filesystem::path& path, bool openOnly, Join& outcome);

  ~MutexFile();
  MutexFile(const MutexFile&) = delete;
  MutexFile& operator=(const MutexFile&) = delete;

  // Takes ownership for this process without waiting; false while another process owns
  // it. `abandoned` tells that the previous owner died owning it.
  bool tryOwn(bool& abandoned);
  // Gives ownership up; `abandoned` leaves the mark for the next owner to find.
  void disown(bool abandoned);

 private:
  explicit MutexFile(int fd) : m_fd(fd) {}

  int m_fd;
};

}  // namespace plat
