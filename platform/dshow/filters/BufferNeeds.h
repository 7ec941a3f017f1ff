// What an output pin asks of its allocator: at least so many buffers, each of a given
// size. The allocator may give more; a buffer smaller than asked fails the connection.
#pragma once

#include <dshow/strmif.h>

namespace plat {

class BufferNeeds {
 public:
  // `asked` is what the downstream pin proposed; its buffer count is raised to `buffers`
  // and its buffer size set to `bytes`.
  static HRESULT Ask(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& asked, long buffers, long bytes);
};

}  // namespace plat
