// BSTR allocation. Layout: a 4-byte byte count, the characters, then a NUL character
// (padded so an odd byte count still ends in a whole NUL OLECHAR).
#include <com/oleauto.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

namespace {

using Prefix = std::uint32_t;
constexpr std::size_t kTail = 2 * sizeof(OLECHAR);  // NUL after an odd count, then a whole NUL OLECHAR

Prefix* prefixOf(BSTR bstr) { return reinterpret_cast<Prefix*>(bstr) - 1; }

// Characters left zero when `data` is null.
BSTR allocateBytes(const void* data, std::size_t bytes) {
  if (bytes > std::numeric_limits<Prefix>::max() - kTail) return nullptr;
  auto* block = static_cast<std::byte*>(std::malloc(sizeof(Prefix) + bytes + kTail));
  if (!block) return nullptr;
  Prefix count = static_cast<Prefix>(bytes);
  std::memcpy(block, &count, sizeof count);
  std::byte* chars = block + sizeof(Prefix);
  if (data)
    std::memcpy(chars, data, bytes);
  else
    std::memset(chars, 0, bytes);
  std::memset(chars + bytes, 0, kTail);
  return reinterpret_cast<BSTR>(chars);
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  return allocateBytes(psz, std::wcslen(psz) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) { return allocateBytes(strIn, std::size_t{ui} * sizeof(OLECHAR)); }

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) { return allocateBytes(psz, len); }

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (!pbstr) return FALSE;
  // psz may point into the old string, so copy before freeing.
  BSTR copy = SysAllocString(psz);
  if (psz && !copy) return FALSE;
  SysFreeString(*pbstr);
  *pbstr = copy;
  return TRUE;
}

void SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(prefixOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) { return pbstr ? *prefixOf(pbstr) / sizeof(OLECHAR) : 0; }

UINT SysStringByteLen(BSTR bstr) { return bstr ? *prefixOf(bstr) : 0; }
