// An open file behind a kernel handle: a Linux file descriptor and the access it was
// opened for. Reads and writes share one file position, as on Windows. Each operation
// returns false with the Windows error set (SetLastError) when it fails.
#pragma once

#include <win32/kernel/HandleTable.h>

#include <cstdint>

namespace plat {

class FileObject : public KernelObject {
 public:
  FileObject(int fd, bool canRead, bool canWrite);
  ~FileObject() override;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  // Reads until `size` bytes or the end of the file.
  bool read(void* buffer, DWORD size, DWORD& done);
  bool write(const void* buffer, DWORD size, DWORD& done);
  // Moves the position by `distance` from FILE_BEGIN, FILE_CURRENT or FILE_END.
  bool seek(std::int64_t distance, DWORD method, std::int64_t& position);
  bool size(std::int64_t& bytes) const;
  // Ends the file at the current position (longer or shorter).
  bool truncateHere();
  bool flush();

 private:
  bool requireWrite() const;

  int m_fd;
  bool m_canRead;
  bool m_canWrite;
};

}  // namespace plat
