#include <dshow/filters/BufferNeeds.h>

namespace plat {

HRESULT BufferNeeds::Ask(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& asked, long buffers, long bytes) {
  ALLOCATOR_PROPERTIES wanted = asked;
  if (wanted.cBuffers < buffers) wanted.cBuffers = buffers;
  wanted.cbBuffer = bytes;
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer < wanted.cbBuffer ? E_FAIL : S_OK;
}

}  // namespace plat
