// While alive, no file this process writes may grow past `bytes`: a longer write fails
// (EFBIG) as on a full disk, which is how tests make a save fail whoever runs them.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

namespace test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) {
    m_signal = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_before);
    rlimit limit = m_before;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_before);
    std::signal(SIGXFSZ, m_signal);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_before{};
  void (*m_signal)(int);
};

}  // namespace test
