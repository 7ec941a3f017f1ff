// Texts and the volume bar drawn into the live picture through the live graph's overlay.
// Positions are in pixels of the captured picture, chosen by the settings' capture size
// code (the line standard field: 1 320 x 240, 2 640 x 480, 3 720 x 576, 4 720 x 480);
// any other code draws nothing.
#include "core/CAppController.h"

#include "core/CRunState.h"
#include "core/data/CAppSettings.h"
#include "core/data/CChannelList.h"
#include "graphs/CCaptureGraph.h"

#include <vendor/language/Language.h>
#include <win32/gdi.h>
#include <win32/gdi/image.h>
#include <win32/user.h>

#include <cctype>
#include <cstring>

namespace {

constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kRed = 0x0000FF;
// Colour b of the text layer: black stays transparent around the letters.
constexpr DWORD kTransparent = 0;
constexpr double kBlend = 5;
// "宋体" in code page 936, the face of the Chinese texts.
constexpr char kChineseFace[] = "\xCB\xCE\xCC\xE5";

struct VolumeLayout {
  LPCSTR bitmap;
  int barX, barY;
  int muteX, muteY;
  int textHeight;
};

// By capture size code 1..4.
constexpr VolumeLayout kVolumeLayouts[] = {
    {"Progress320.bmp", 120, 195, 50, 210, 15},
    {"Progress640.bmp", 250, 400, 150, 430, 20},
    {"Progress720.bmp", 320, 475, 160, 510, 30},
    {"Progress720.bmp", 320, 400, 160, 430, 25},
};

const VolumeLayout* VolumeLayoutFor(int code) { return code >= 1 && code <= 4 ? &kVolumeLayouts[code - 1] : nullptr; }

// The width of the text in whatever font the window's device context holds.
int TextWidth(HWND window, LPCSTR text) {
  HDC dc = GetDC(window);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  ReleaseDC(window, dc);
  return size.cx;
}

// The text of a tuned channel: "%d" for a channel the list holds and whose name (of the
// tuned record) contains `marker`, else its name and number; the number alone for one
// the list does not hold.
CString ChannelText(int number, int list, LPCSTR marker) {
  CString text;
  const ChannelRecord& tuned = *g_pTunedChannelRecord;
  if (!g_pChannelList->HasChannel(number, list))
    text.Format("%d", number);
  else if (std::strstr(tuned.ChannelName, marker))
    text.Format("%d", tuned.ChannelNumber);
  else
    text.Format("%s %d", tuned.ChannelName, tuned.ChannelNumber);
  return text;
}

}  // namespace

LOGFONTA CAppController::OsdFont(int height) const {
  LOGFONTA font = {};
  font.lfHeight = height;
  LPCSTR face = "Arial";
  switch (GetLanguage()) {
    case 4:
      font.lfCharSet = 204;
      break;
    case 2:
      font.lfCharSet = 0;
      break;
    case 3:
      font.lfCharSet = 0;
      face = kChineseFace;
      break;
    default: {
      HDC dc = CreateCompatibleDC(nullptr);
      font.lfCharSet = static_cast<BYTE>(GetTextCharset(dc));
      DeleteDC(dc);
      break;
    }
  }
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

void CAppController::ShowOsdText(CString text) {
  if (text.IsEmpty() || !g_pAppSettings || !m_pCaptureGraph) return;
  LOGFONTA font = OsdFont(0);
  m_pCaptureGraph->HideOverlay();
  const int code = g_pAppSettings->LineStandard;
  if (code < 1 || code > 4) return;
  const int width = TextWidth(m_hVideoWindow, text);
  int x = 0;
  int y = 25;
  switch (code) {
    case 1:
      font.lfHeight = 25;
      x = 305 - width;
      y = 15;
      break;
    case 2:
      font.lfHeight = 35;
      x = 2 * (320 - width) - 30;
      break;
    default:
      font.lfHeight = code == 3 ? 42 : 41;
      x = 720 - static_cast<int>(2.5 * width) - 30;
      break;
  }
  m_pCaptureGraph->SetOverlayText(text, x, y, font, kGreen, kTransparent, kBlend);
}

void CAppController::ShowChannelOsdText(int number, int list) { ShowOsdText(ChannelText(number, list, "Channel")); }

void CAppController::ReshowOsdText() {
  if (!g_pChannelList || !m_pRunState) return;
  switch (GetRunState()) {
    case 2: {
      const int list = GetActiveChannelListIndex();
      if (!g_pTunedChannelRecord || list < 0) return;
      // The stored name is upper-cased for good, as the view has always shown it again.
      for (char* c = g_pTunedChannelRecord->ChannelName; *c; ++c)
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
      ShowOsdText(ChannelText(g_pChannelList->GetCurrentChannel(list), list, "CHANNEL"));
      break;
    }
    case 13: ShowOsdText("S-Video"); break;
    case 11: ShowOsdText("Composite"); break;
    default: break;
  }
}

void CAppController::DrawVolumeOsd(int muted) {
  if (!g_pAppSettings || !m_pCaptureGraph) return;
  const VolumeLayout* layout = VolumeLayoutFor(g_pAppSettings->LineStandard);
  if (!layout) return;
  const CString path = GetModuleFolder() + "skins\\elegance\\" + layout->bitmap;
  // A missing bar picture leaves the text alone on the picture.
  if (HANDLE bar = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)) {
    m_pCaptureGraph->SetOverlayBitmap(reinterpret_cast<LONG_PTR>(bar), layout->barX, layout->barY, 0, 0, kBlend);
    DeleteObject(static_cast<HGDIOBJ>(bar));
  }
  const LOGFONTA font = OsdFont(layout->textHeight);
  if (muted) {
    m_pCaptureGraph->SetOverlayText("Mute", layout->muteX, layout->muteY, font, kRed, kTransparent, kBlend);
    return;
  }
  CString text;
  text.Format("Volume: %d", g_pAppSettings->Volume);
  m_pCaptureGraph->SetOverlayText(text, layout->barX, layout->barY, font, kGreen, kTransparent, kBlend);
}

void CAppController::DrawVolumeOsdLevel() { DrawVolumeOsd(0); }

void CAppController::DrawStatusOsd(int clear) {
  if (!g_pAppSettings || !m_pCaptureGraph) return;
  const int code = g_pAppSettings->LineStandard;
  const LOGFONTA font = OsdFont(code == 1 ? 20 : code == 2 ? 25 : 35);
  if (clear) m_pCaptureGraph->HideOverlay();
  LPCSTR text = GetOtherInfo(1);
  m_pCaptureGraph->ShowOverlay(reinterpret_cast<LONG_PTR>(text), static_cast<LONG_PTR>(std::strlen(text)), 10, 10,
                               font);
}

int CAppController::GetCaptureDeviceCount() {
  return g_pAppSettings ? g_pAppSettings->CaptureDeviceNames.GetSize() : 0;
}
