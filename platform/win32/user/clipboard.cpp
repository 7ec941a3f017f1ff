#include <win32/user/clipboard.h>

#include <com/globalmem.h>

#include <mutex>

namespace {

std::mutex g_lock;
bool g_open = false;
HGLOBAL g_text = nullptr;

void freeText() {
  if (g_text) GlobalFree(g_text);
  g_text = nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND) {
  std::lock_guard guard(g_lock);
  if (g_open) return FALSE;
  g_open = true;
  return TRUE;
}

BOOL CloseClipboard() {
  std::lock_guard guard(g_lock);
  const bool was = g_open;
  g_open = false;
  return was;
}

BOOL EmptyClipboard() {
  std::lock_guard guard(g_lock);
  if (!g_open) return FALSE;
  freeText();
  return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
  std::lock_guard guard(g_lock);
  if (!g_open || uFormat != CF_TEXT) return nullptr;
  freeText();
  g_text = static_cast<HGLOBAL>(hMem);
  return hMem;
}

HANDLE GetClipboardData(UINT uFormat) {
  std::lock_guard guard(g_lock);
  return g_open && uFormat == CF_TEXT ? g_text : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  std::lock_guard guard(g_lock);
  return format == CF_TEXT && g_text != nullptr;
}
