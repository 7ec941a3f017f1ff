#include <com/GlobalMemory.h>
#include <com/globalmem.h>

#include <win32/error.h>

#include <new>

namespace plat {

GlobalMemory& GlobalMemory::instance() {
  static GlobalMemory memory;
  return memory;
}

GlobalMemory::Block* GlobalMemory::find(HGLOBAL handle) const {
  auto it = m_blocks.find(handle);
  if (it == m_blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

HGLOBAL GlobalMemory::alloc(UINT flags, std::size_t bytes) {
  auto block = std::make_unique<Block>();
  block->moveable = (flags & GMEM_MOVEABLE) != 0;
  try {
    block->bytes.reserve(bytes ? bytes : 1);  // a fixed block needs an address even when empty
    block->bytes.resize(bytes);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->bytes.data());
  std::lock_guard guard(m_lock);
  m_blocks.emplace(handle, std::move(block));
  return handle;
}

HGLOBAL GlobalMemory::realloc(HGLOBAL handle, std::size_t bytes, UINT flags) {
  std::lock_guard guard(m_lock);
  Block* block = find(handle);
  if (!block) return nullptr;
  bool mustMove = bytes > block->bytes.capacity();
  // A fixed block moves only when the caller allows it (its handle changes); a moveable one unless locked.
  bool mayMove = (flags & GMEM_MOVEABLE) != 0 || (block->moveable && block->locks == 0);
  if (mustMove && !mayMove) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  try {
    block->bytes.resize(bytes);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (block->moveable || !mustMove) return handle;
  auto node = m_blocks.extract(handle);
  HGLOBAL moved = block->bytes.data();
  node.key() = moved;
  m_blocks.insert(std::move(node));
  return moved;
}

void* GlobalMemory::lock(HGLOBAL handle) {
  std::lock_guard guard(m_lock);
  Block* block = find(handle);
  if (!block) return nullptr;
  if (!block->moveable) return block->bytes.data();
  if (block->bytes.empty()) return nullptr;  // an empty moveable block has no memory to lock
  ++block->locks;
  return block->bytes.data();
}

BOOL GlobalMemory::unlock(HGLOBAL handle) {
  std::lock_guard guard(m_lock);
  Block* block = find(handle);
  if (!block) return FALSE;
  if (!block->moveable) {
    SetLastError(NO_ERROR);
    return FALSE;
  }
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

std::size_t GlobalMemory::size(HGLOBAL handle) const {
  std::lock_guard guard(m_lock);
  Block* block = find(handle);
  return block ? block->bytes.size() : 0;
}

HGLOBAL GlobalMemory::free(HGLOBAL handle) {
  if (!handle) return nullptr;
  std::lock_guard guard(m_lock);
  auto it = m_blocks.find(handle);
  if (it == m_blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  m_blocks.erase(it);
  return nullptr;
}

}  // namespace plat
