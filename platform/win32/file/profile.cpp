#include <win32/profile.h>

#include <machine/IniDocument.h>
#include <machine/Machine.h>
#include <win32/error.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kWindowsFolder = "C:\\WINDOWS";

// Read-change-write of a file by two threads must not lose a change.
std::mutex g_profileLock;

bool isBareName(std::string_view name) { return name.find_first_of("\\/:") == std::string_view::npos; }

fs::path profilePath(LPCSTR fileName) {
  std::string name = fileName ? fileName : "win.ini";
  if (isBareName(name)) name = std::string(kWindowsFolder) + "\\" + name;
  return plat::Machine::current().paths().toLinux(name);
}

// The document, or nullopt with ERROR_FILE_NOT_FOUND when the file cannot be read.
std::optional<plat::IniDocument> loadProfile(LPCSTR fileName) {
  plat::IniDocument document;
  if (document.load(profilePath(fileName))) return document;
  SetLastError(ERROR_FILE_NOT_FOUND);
  return std::nullopt;
}

DWORD copyValue(std::string_view value, LPSTR buffer, DWORD size) {
  if (size == 0) return 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(value.size(), size - 1));
  std::memcpy(buffer, value.data(), count);
  buffer[count] = '\0';
  return count;
}

// Names each followed by a NUL, then one more NUL; a list that does not fit is cut and
// still ends in two NULs.
DWORD copyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (const std::string& name : names) list.append(name).push_back('\0');
  if (size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string_view defaultOf(LPCSTR value) {
  std::string_view text = value ? value : "";
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

UINT parseProfileInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  UINT base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  UINT number = 0;
  for (char c : text) {
    UINT digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<UINT>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = static_cast<UINT>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = static_cast<UINT>(c - 'A' + 10);
    else
      break;
    number = number * base + digit;
  }
  return negative ? 0u - number : number;
}

// Writes the document, creating the Windows folder when the file belongs there, as
// that folder exists on every Windows PC.
BOOL saveProfile(const plat::IniDocument& document, LPCSTR fileName) {
  const fs::path path = profilePath(fileName);
  std::error_code ec;
  if (!fileName || isBareName(fileName)) fs::create_directories(path.parent_path(), ec);
  if (!fs::is_directory(path.parent_path(), ec)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (!document.save(path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

template <class Call>
auto guarded(Call&& call, decltype(call()) failure) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return failure;
  }
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName) {
  if (!lpReturnedString) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return guarded(
      [&]() -> DWORD {
        std::lock_guard guard(g_profileLock);
        auto document = loadProfile(lpFileName);
        if (!lpAppName) return copyList(document ? document->sectionNames() : std::vector<std::string>{},
                                        lpReturnedString, nSize);
        if (!lpKeyName) return copyList(document ? document->keyNames(lpAppName) : std::vector<std::string>{},
                                        lpReturnedString, nSize);
        auto value = document ? document->value(lpAppName, lpKeyName) : std::nullopt;
        return copyValue(value ? std::string_view(*value) : defaultOf(lpDefault), lpReturnedString, nSize);
      },
      DWORD{0});
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  if (!lpAppName || !lpKeyName) return static_cast<UINT>(nDefault);
  return guarded(
      [&]() -> UINT {
        std::lock_guard guard(g_profileLock);
        auto document = loadProfile(lpFileName);
        auto value = document ? document->value(lpAppName, lpKeyName) : std::nullopt;
        if (!value || value->empty()) return static_cast<UINT>(nDefault);
        return parseProfileInt(*value);
      },
      static_cast<UINT>(nDefault));
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  if (!lpAppName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return guarded(
      [&]() -> BOOL {
        std::lock_guard guard(g_profileLock);
        plat::IniDocument document;
        const bool existed = document.load(profilePath(lpFileName));
        const std::string before = document.text();
        if (!lpKeyName)
          document.removeSection(lpAppName);
        else if (!lpString)
          document.removeKey(lpAppName, lpKeyName);
        else
          document.setValue(lpAppName, lpKeyName, lpString);
        // Deleting what is not there leaves the file (or its absence) as it was.
        if (existed && document.text() == before) return TRUE;
        if (!existed && (!lpKeyName || !lpString)) return TRUE;
        return saveProfile(document, lpFileName);
      },
      BOOL{FALSE});
}

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) {
  return GetPrivateProfileStringA(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}
