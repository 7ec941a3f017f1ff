// What the tests' and benchmarks' own output pins ask of their allocators.
#pragma once

#include <dshow/strmif.h>

namespace test {

// Asks for `buffers` buffers of `bytes` each, the rest as downstream `proposed` it; the
// allocator's answer.
HRESULT AskBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& proposed, long buffers, long bytes);

}  // namespace test
