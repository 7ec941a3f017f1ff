// GUID text and creation functions.
#include <com/GuidText.h>
#include <com/objbase.h>

#include <random>

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  if (!lpsz || cchMax < static_cast<int>(plat::GuidText::kLength + 1)) return 0;
  std::string text = plat::GuidText::format(rguid);
  for (std::size_t i = 0; i < text.size(); ++i) lpsz[i] = static_cast<OLECHAR>(text[i]);
  lpsz[text.size()] = 0;
  return static_cast<int>(text.size() + 1);
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) {
  if (!lplpsz) return E_INVALIDARG;
  constexpr int kChars = plat::GuidText::kLength + 1;
  *lplpsz = static_cast<LPOLESTR>(CoTaskMemAlloc(kChars * sizeof(OLECHAR)));
  if (!*lplpsz) return E_OUTOFMEMORY;
  StringFromGUID2(rclsid, *lplpsz, kChars);
  return S_OK;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid) return E_INVALIDARG;
  *pclsid = CLSID_NULL;
  if (!lpsz) return S_OK;
  return plat::GuidText::parse(std::wstring_view(lpsz), *pclsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid) {
  if (!lpiid) return E_INVALIDARG;
  *lpiid = IID_NULL;
  if (!lpsz) return S_OK;
  return plat::GuidText::parse(std::wstring_view(lpsz), *lpiid) ? S_OK : E_INVALIDARG;
}

HRESULT CoCreateGuid(GUID* pguid) {
  if (!pguid) return E_INVALIDARG;
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uint64_t high = random(), low = random();
  pguid->Data1 = static_cast<DWORD>(high >> 32);
  pguid->Data2 = static_cast<WORD>(high >> 16);
  // A random (version 4) GUID of the standard variant.
  pguid->Data3 = static_cast<WORD>((high & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i) pguid->Data4[i] = static_cast<BYTE>(low >> (8 * i));
  pguid->Data4[0] = static_cast<BYTE>((pguid->Data4[0] & 0x3F) | 0x80);
  return S_OK;
}
