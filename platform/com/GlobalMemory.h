// The process's global memory blocks behind GlobalAlloc and friends.
//
// A fixed block's handle is the address of its bytes. A moveable block's handle is
// separate; its bytes may move when it grows, but not while it is locked unless the
// caller of GlobalReAlloc allows it with GMEM_MOVEABLE, so a locked pointer stays good. New bytes are always zero, so contents never depend on the heap.
#pragma once

#include <win32/types.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace plat {

class GlobalMemory {
 public:
  static GlobalMemory& instance();

  // Each call fails as its Windows namesake does, with the last error set.
  HGLOBAL alloc(UINT flags, std::size_t bytes);
  HGLOBAL realloc(HGLOBAL handle, std::size_t bytes, UINT flags);
  void* lock(HGLOBAL handle);
  BOOL unlock(HGLOBAL handle);
  std::size_t size(HGLOBAL handle) const;
  HGLOBAL free(HGLOBAL handle);

 private:
  struct Block {
    std::vector<std::byte> bytes;
    bool moveable = false;
    unsigned locks = 0;
  };

  Block* find(HGLOBAL handle) const;

  mutable std::mutex m_lock;
  std::unordered_map<HGLOBAL, std::unique_ptr<Block>> m_blocks;
};

}  // namespace plat
