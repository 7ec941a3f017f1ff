#include <win32/user/cursorfile.h>

#include <win32/error.h>
#include <win32/gdi/IconTable.h>
#include <win32/gdi/PictureFile.h>
#include <win32/user/metrics.h>

#include <machine/Machine.h>

#include <filesystem>

HCURSOR LoadCursorFromFileA(LPCSTR lpFileName) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto path = plat::Machine::current().paths().toLinux(lpFileName);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const auto bytes = plat::PictureFile::readFile(path);
  HICON cursor = bytes ? plat::IconTable::instance().addFromFile(*bytes, GetSystemMetrics(SM_CXCURSOR)) : nullptr;
  if (!cursor) SetLastError(ERROR_INVALID_DATA);
  return static_cast<HCURSOR>(cursor);
}
