// ShellExecuteA, WinExec and Shell_NotifyIconA over the process launcher and the
// machine's tray area.
#include <win32/shell/shellapi.h>

#include <machine/EventLog.h>
#include <machine/Machine.h>
#include <machine/TrayArea.h>
#include <win32/error.h>
#include <win32/gdi.h>
#include <win32/gdi/BitmapObject.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/PngCodec.h>
#include <win32/shell/ProcessLauncher.h>
#include <win32/user.h>

#include <cctype>
#include <cstring>
#include <string>

using plat::ProcessLauncher;

namespace {

constexpr std::uintptr_t kStarted = 42;

HINSTANCE ShellResult(std::uintptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

// "scheme://...": an address the machine's web browser opens.
bool IsWebAddress(const std::string& file) {
  const auto colon = file.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i)
    if (!std::isalpha(static_cast<unsigned char>(file[i]))) return false;
  return true;
}

// Unquoted paths with blanks are taken whole first, as Windows tries the longest name.
bool StartCommandLine(const std::string& commandLine) {
  if (auto whole = ProcessLauncher::resolve(commandLine)) return ProcessLauncher::start(*whole, {}) != 0;
  auto parts = ProcessLauncher::splitCommandLine(commandLine);
  if (parts.empty()) return false;
  auto program = ProcessLauncher::resolve(parts.front());
  if (!program) return false;
  parts.erase(parts.begin());
  return ProcessLauncher::start(*program, parts) != 0;
}

// The icon as the tray shows it, small on the taskbar's face, for whichever program draws
// the whole desktop.
void SaveTrayPicture(HICON icon, const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  const int size = GetSystemMetrics(SM_CXSMICON);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(size, size, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT face{0, 0, size, size};
  FillRect(dc, &face, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  if (icon) DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (const auto picture = plat::GdiTable::lookup<plat::BitmapObject>(bitmap)) plat::PngCodec::save(picture->surface(), file);
  DeleteObject(bitmap);
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR, INT) {
  if (!lpFile || !*lpFile) return ShellResult(ERROR_FILE_NOT_FOUND);
  const std::string operation = lpOperation ? lpOperation : "";
  if (!operation.empty() && operation != "open") return ShellResult(SE_ERR_NOASSOC);
  plat::Machine& machine = plat::Machine::current();
  if (auto program = ProcessLauncher::resolve(lpFile)) {
    const auto arguments = ProcessLauncher::splitCommandLine(lpParameters ? lpParameters : "");
    if (!ProcessLauncher::start(*program, arguments)) return ShellResult(ERROR_FILE_NOT_FOUND);
    plat::EventLog::events(machine).write("shell-execute", std::string(lpFile) + " " + (lpParameters ? lpParameters : ""));
    return ShellResult(kStarted);
  }
  if (IsWebAddress(lpFile)) {
    // The browser is not started: the address it would show is recorded.
    plat::EventLog::events(machine).write("shell-open", lpFile);
    return ShellResult(kStarted);
  }
  std::error_code ec;
  const auto target = machine.paths().toLinux(lpFile);
  if (!std::filesystem::exists(target, ec)) return ShellResult(ERROR_FILE_NOT_FOUND);
  if (std::filesystem::is_directory(target, ec)) {
    // The desktop opens a folder in its file manager, which is not started: the folder it
    // would show is recorded.
    plat::EventLog::events(machine).write("shell-explore", lpFile);
    return ShellResult(kStarted);
  }
  // A document: no program on the machine opens it, so the request is only recorded.
  plat::EventLog::events(machine).write("shell-open", lpFile);
  return ShellResult(SE_ERR_NOASSOC);
}

UINT WinExec(LPCSTR lpCmdLine, UINT) {
  if (!lpCmdLine || !StartCommandLine(lpCmdLine)) return ERROR_FILE_NOT_FOUND;
  plat::EventLog::events(plat::Machine::current()).write("win-exec", lpCmdLine);
  return 33;
}

BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData) {
  // The shell knows an icon by its window and id; removing one needs no live window.
  if (!lpData || !lpData->hWnd || (dwMessage != NIM_DELETE && !IsWindow(lpData->hWnd))) return FALSE;
  plat::TrayArea& tray = plat::Machine::current().service<plat::TrayArea>();
  if (!tray.isShellRunning()) return FALSE;
  const auto window = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(lpData->hWnd));
  auto shown = tray.find(window, lpData->uID);
  switch (dwMessage) {
    case NIM_ADD:
      if (shown) return FALSE;
      shown = plat::TrayArea::Icon{window, lpData->uID, 0, 0, {}};
      break;
    case NIM_MODIFY:
      if (!shown) return FALSE;
      break;
    case NIM_DELETE:
      return tray.remove(window, lpData->uID) ? TRUE : FALSE;
    default:
      return FALSE;
  }
  if (lpData->uFlags & NIF_MESSAGE) shown->callbackMessage = lpData->uCallbackMessage;
  if (lpData->uFlags & NIF_ICON) shown->icon = reinterpret_cast<std::uintptr_t>(lpData->hIcon);
  if (lpData->uFlags & NIF_TIP) shown->tip.assign(lpData->szTip, strnlen(lpData->szTip, sizeof lpData->szTip));
  if (!tray.store(*shown)) return FALSE;
  if (lpData->uFlags & NIF_ICON) SaveTrayPicture(lpData->hIcon, tray.pictureOf(window, lpData->uID));
  return TRUE;
}
