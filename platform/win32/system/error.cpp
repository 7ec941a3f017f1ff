#include <win32/error.h>

#include <win32/user/usererror.h>

#include <cstring>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

struct SystemText {
  DWORD code;
  const char* text;
};

// The codes the window functions leave when they cannot set a text.
constexpr SystemText kSystemTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
    {ERROR_CONTROL_ID_NOT_FOUND, "Control ID not found.\r\n"},
};

const char* SystemTextOf(DWORD code) {
  for (const SystemText& entry : kSystemTexts)
    if (entry.code == code) return entry.text;
  return nullptr;
}

}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD code) { t_lastError = code; }

DWORD FormatMessageA(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD, LPSTR lpBuffer, DWORD nSize, va_list*) {
  if ((dwFlags & ~FORMAT_MESSAGE_IGNORE_INSERTS) != FORMAT_MESSAGE_FROM_SYSTEM || !lpBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char* text = SystemTextOf(dwMessageId);
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  const std::size_t length = std::strlen(text);
  if (length >= nSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(lpBuffer, text, length + 1);
  return static_cast<DWORD>(length);
}
