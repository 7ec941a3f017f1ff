// A small page of memory that every process of the machine maps from one file under the
// machine root, for state that must read the same in all of them at once (the clock, the
// power state). A new file is all zeros, so the zero state must be a sensible start; the
// fields are atomics, which work across processes on one mapping.
#pragma once

#include <cstddef>
#include <filesystem>

namespace plat {

class SharedPage {
 public:
  // Maps `size` bytes of `file`, made (zero-filled) when missing. Null data() on failure.
  SharedPage(const std::filesystem::path& file, std::size_t size);
  ~SharedPage();
  SharedPage(const SharedPage&) = delete;
  SharedPage& operator=(const SharedPage&) = delete;

  void* data() const { return m_data; }

  // The page as a T placed there (T holds atomics and is all zeros when fresh).
  template <class T>
  T* as() const {
    return static_cast<T*>(m_data);
  }

 private:
  void* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace plat
