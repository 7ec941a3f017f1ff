#include <dshow/errors.h>

#include <com/hresult.h>
#include <dshow/vfwmsgs.h>

#include <algorithm>
#include <cstring>

namespace {

struct ErrorText {
  HRESULT hr;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {E_NOINTERFACE, "No such interface supported."},
    {E_FAIL, "Unspecified error."},
    {E_INVALIDARG, "One or more arguments are invalid."},
    {E_POINTER, "Invalid pointer."},
    {E_OUTOFMEMORY, "Ran out of memory."},
    {E_NOTIMPL, "Not implemented."},
    {E_PROP_ID_UNSUPPORTED, "The specified property ID is not supported for the specified property set."},
    {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
};

}  // namespace

DWORD AMGetErrorTextA(HRESULT hr, LPSTR pBuffer, DWORD MaxLen) {
  if (!pBuffer || MaxLen == 0) return 0;
  for (const ErrorText& entry : kTexts) {
    if (entry.hr != hr) continue;
    const std::size_t length = std::min<std::size_t>(std::strlen(entry.text), MaxLen - 1);
    std::memcpy(pBuffer, entry.text, length);
    pBuffer[length] = '\0';
    return static_cast<DWORD>(length);
  }
  return 0;
}
