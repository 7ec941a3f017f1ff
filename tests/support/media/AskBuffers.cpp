#include "AskBuffers.h"

namespace test {

HRESULT AskBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& proposed, long buffers, long bytes) {
  ALLOCATOR_PROPERTIES wanted = proposed;
  wanted.cBuffers = buffers;
  wanted.cbBuffer = bytes;
  ALLOCATOR_PROPERTIES actual{};
  return allocator->SetProperties(&wanted, &actual);
}

}  // namespace test
