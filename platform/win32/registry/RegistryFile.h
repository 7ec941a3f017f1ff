// registry.ini: the registry tree as a text file (the format is described in
// win32/registry/RegistryStore.h).
//
// Writes go to a temporary file that is then renamed over the old one, so a reader in
// another process sees either the old tree or the new one, never half of it. Writers
// across processes take the machine-wide writer lock (an flock on registry.lock, dropped
// by the kernel if the process dies) around read-change-write, so no change is lost.
// changedOnDisk() compares the file's identity (inode, size, modification time) with the
// version last read or written, which is how a process notices another's writes. That
// version is kept open, so its inode cannot be reused by a later file: two quick writes
// within one tick of the file system's clock still show as a change.
#pragma once

#include <win32/registry/RegistryKey.h>

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

using RegistryRoots = std::vector<std::shared_ptr<RegistryKey>>;

class RegistryFile {
 public:
  // Held while reading, changing and writing the tree; released on destruction.
  class WriterLock {
   public:
    explicit WriterLock(const std::filesystem::path& lockFile);
    ~WriterLock();
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

   private:
    int m_fd;
  };

  explicit RegistryFile(std::filesystem::path file) : m_file(std::move(file)) {}
  ~RegistryFile();
  RegistryFile(const RegistryFile&) = delete;
  RegistryFile& operator=(const RegistryFile&) = delete;

  bool exists() const;
  bool changedOnDisk() const;
  WriterLock lockForWriting() const { return WriterLock(m_file.parent_path() / "registry.lock"); }
  // Fills the given empty roots from the file; a missing file leaves them empty.
  void load(const RegistryRoots& roots);
  bool save(const RegistryRoots& roots);

  static std::string format(const RegistryRoots& roots);
  // Keys under a root not among `roots` and lines that cannot be read are skipped.
  static void parse(std::string_view text, const RegistryRoots& roots);

 private:
  struct Stamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};
    bool operator==(const Stamp& other) const;
  };
  static Stamp stampOf(const std::filesystem::path& file);
  // Makes `fd` the version this object knows.
  void hold(int fd);

  std::filesystem::path m_file;
  Stamp m_stamp;
  int m_held = -1;
};

}  // namespace plat
