#include "CRemoteInput.h"

#include "CCaptureDriver.h"
#include "CMovieCtl.h"

#include <dshow/control.h>
#include <win32/codepage.h>
#include <win32/time.h>
#include <win32/user.h>

#include <string>

namespace {

constexpr int kCodeToCommand[32] = {0,  7,  7,  7,  7,  7,  7,  7,  7,  7,  7,  6,  8,  9,  10, 11,
                                    12, 2,  1,  13, 16, 18, 22, 20, 19, 21, 15, 14, 3,  4,  17, 5};
constexpr int kTwoDigitKey = 11;
constexpr int kDigitCommand = 7;

}  // namespace

int CRemoteInput::CommandOf(int code) { return code >= 1 && code <= 31 ? kCodeToCommand[code] : 0; }

std::string CRemoteInput::SetupFrameTitle() {
  char caption[64] = {};
  WideCharToMultiByte(CP_ACP, 0, CMovieCtl::kSetupCaption, -1, caption, sizeof caption - 1, nullptr, nullptr);
  return std::string(caption) + " Properties";
}

void CRemoteInput::Poll() {
  const int code = CCaptureDriver::ReadRemoteCode();
  if (code == m_lastCode) return;
  m_lastCode = code;
  if (code != 0) HandleCode(code, GetTickCount());
}

void CRemoteInput::HandleCode(int code, DWORD now) {
  if (code == kTwoDigitKey) {
    m_twoDigitMode = !m_twoDigitMode;
    DispatchRemoteCommand(CommandOf(code), 0);
    return;
  }
  const bool digitKey = code >= 1 && code <= 10;
  const long digit = code % 10;
  long argument = code;
  if (m_twoDigitMode && digitKey) {
    if (!m_hasPendingDigit || now - m_pendingTime > kDigitTimeout) {
      m_hasPendingDigit = true;
      m_pendingDigit = digit;
      m_pendingTime = now;
      return;
    }
    argument = m_pendingDigit * 10 + digit;
    m_hasPendingDigit = false;
  } else {
    m_hasPendingDigit = false;
    if (digitKey) argument = digit;
  }
  DispatchRemoteCommand(CommandOf(code), argument);
}

HRESULT CRemoteInput::DispatchRemoteCommand(int command, long argument) {
  long value = 0;
  switch (command) {
    case 0:
      return S_OK;
    case 2:
      m_target->Play();
      return S_FALSE;
    case 7:
      return m_target->put_Channel(argument);
    case 8:
      return m_target->SetPrevChannel();
    case 9:
    case 10: {
      const HRESULT hr = m_target->get_Channel(&value);
      if (hr != S_OK) return hr;
      return m_target->put_Channel(command == 9 ? value - 1 : value + 1);
    }
    case 11:
    case 12: {
      long metric = 0;
      const HRESULT hr = m_target->get_Volume(&value);
      if (hr != S_OK) return hr;
      m_target->get_VolumeMetric(&metric);
      return m_target->put_Volume(command == 11 ? value - metric : value + metric);
    }
    case 13:
      m_target->get_Mute(&value);
      return m_target->put_Mute(value ? 0 : 1);
    case 14: {
      const HRESULT hr = m_target->get_FullScreenMode(&value);
      if (FAILED(hr)) return hr;
      return m_target->put_FullScreenMode(value == OATRUE ? 0 : OATRUE);
    }
    case 18:
      return m_target->Stop();
    case 19:
      if (HWND frame = FindWindowA(nullptr, SetupFrameTitle().c_str())) {
        SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
        return S_OK;
      }
      return m_target->ShowSetupDialog(0);
    default:
      return S_FALSE;
  }
}
