#include <win32/user/metrics.h>

#include <win32/error.h>
#include <win32/user/UserSystem.h>

#include <cstring>

using plat::UserSystem;

namespace {

LOGFONTA systemFont(LONG weight) {
  LOGFONTA font{};
  font.lfHeight = -11;  // 8 points at 96 dpi
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(font.lfFaceName, "Tahoma");
  return font;
}

}  // namespace

int GetSystemMetrics(int nIndex) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.metrics().metric(nIndex);
}

BOOL SystemParametersInfoA(UINT uiAction, UINT, PVOID pvParam, UINT) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  plat::SystemMetrics& metrics = system.metrics();
  switch (uiAction) {
    case SPI_GETWORKAREA:
      if (!pvParam) break;
      *static_cast<RECT*>(pvParam) = metrics.workArea();
      return TRUE;
    case SPI_GETDROPSHADOW:
      if (!pvParam) break;
      *static_cast<BOOL*>(pvParam) = metrics.dropShadow() ? TRUE : FALSE;
      return TRUE;
    case SPI_SETDROPSHADOW:
      metrics.setDropShadow(pvParam != nullptr);
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* ncm = static_cast<NONCLIENTMETRICSA*>(pvParam);
      if (!ncm || ncm->cbSize != sizeof(NONCLIENTMETRICSA)) break;
      ncm->iBorderWidth = metrics.metric(SM_CXBORDER);
      ncm->iScrollWidth = metrics.metric(SM_CXVSCROLL);
      ncm->iScrollHeight = metrics.metric(SM_CYHSCROLL);
      ncm->iCaptionWidth = metrics.metric(SM_CXSIZE);
      ncm->iCaptionHeight = metrics.metric(SM_CYSIZE);
      ncm->lfCaptionFont = systemFont(FW_BOLD);
      ncm->iSmCaptionWidth = metrics.metric(SM_CXSMSIZE);
      ncm->iSmCaptionHeight = metrics.metric(SM_CYSMSIZE);
      ncm->lfSmCaptionFont = systemFont(FW_BOLD);
      ncm->iMenuWidth = metrics.metric(SM_CXMENUSIZE);
      ncm->iMenuHeight = metrics.metric(SM_CYMENUSIZE);
      ncm->lfMenuFont = systemFont(FW_NORMAL);
      ncm->lfStatusFont = systemFont(FW_NORMAL);
      ncm->lfMessageFont = systemFont(FW_NORMAL);
      return TRUE;
    }
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

DWORD GetSysColor(int nIndex) {
  UserSystem& system = UserSystem::current();
  std::lock_guard guard(system.lock());
  return system.metrics().color(nIndex);
}

// The system dialog font: 8 pixels wide, 16 high on average.
LONG GetDialogBaseUnits() { return MAKELONG(8, 16); }
