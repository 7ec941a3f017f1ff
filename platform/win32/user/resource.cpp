#include <win32/user/resource.h>

#include <mfc/StringResources.h>
#include <win32/error.h>
#include <win32/gdi/IconTable.h>
#include <win32/gdi/StandardIcons.h>
#include <win32/user/ResourceTable.h>
#include <win32/user/metrics.h>
#include <win32/user/usererror.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <span>
#include <utility>

namespace {

// One icon handle per module and id, as a shared resource icon is on Windows: the picture
// of the module's icon resource nearest the system icon size, the standard icons' own
// pictures (no module), or a handle without a picture for resources that hold none.
HICON iconHandle(HINSTANCE module, WORD id, const plat::res::Blob* resource) {
  static std::mutex lock;
  static std::map<std::pair<HINSTANCE, WORD>, HICON> handles;
  std::lock_guard guard(lock);
  auto& handle = handles[{module, id}];
  if (!handle && resource)
    handle = plat::IconTable::instance().addFromFile(std::span(resource->data, resource->size),
                                                     GetSystemMetrics(SM_CXICON));
  if (!handle && !module) {
    if (auto standard = plat::StandardIcons::picture(id)) handle = plat::IconTable::instance().add(std::move(*standard));
  }
  if (!handle) handle = plat::IconTable::instance().add(plat::IconTable::Icon{});
  return handle;
}

// CString::LoadString and CString(MAKEINTRESOURCE(id)) read the program's string table.
bool programString(UINT id, std::string& text) {
  const auto found = plat::ResourceTable::string(nullptr, id);
  if (found) text = *found;
  return found.has_value();
}

[[maybe_unused]] const bool g_stringsInstalled = (plat::StringResources::setLookup(&programString), true);

}  // namespace

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto text = plat::ResourceTable::string(hInstance, uID);
  if (!text) {
    lpBuffer[0] = '\0';
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const std::size_t count = std::min<std::size_t>(text->size(), static_cast<std::size_t>(cchBufferMax - 1));
  std::memcpy(lpBuffer, text->data(), count);
  lpBuffer[count] = '\0';
  return static_cast<int>(count);
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  if (!IS_INTRESOURCE(lpIconName) && !(lpIconName && lpIconName[0] == '#')) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  if (!hInstance) {
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpIconName));
    if (IS_INTRESOURCE(lpIconName) && id >= 32512 && id <= 32517) return iconHandle(nullptr, id, nullptr);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const plat::res::Blob* icon = plat::ResourceTable::icon(hInstance, lpIconName);
  if (!icon) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return iconHandle(hInstance, static_cast<WORD>(icon->id), icon);
}

HRSRC FindResourceA(HINSTANCE hModule, LPCSTR lpName, LPCSTR lpType) {
  const plat::res::Blob* found = lpType == RT_TOOLBAR ? plat::ResourceTable::toolbar(hModule, lpName) : nullptr;
  if (!found) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return reinterpret_cast<HRSRC>(const_cast<plat::res::Blob*>(found));
}

HGLOBAL LoadResource(HINSTANCE, HRSRC hResInfo) {
  const auto* blob = reinterpret_cast<const plat::res::Blob*>(hResInfo);
  return blob ? const_cast<unsigned char*>(blob->data) : nullptr;
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HINSTANCE, HRSRC hResInfo) {
  const auto* blob = reinterpret_cast<const plat::res::Blob*>(hResInfo);
  return blob ? static_cast<DWORD>(blob->size) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }
