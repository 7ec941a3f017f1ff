// Key strokes that programs synthesise, and the keyboard's scan codes.
#include <win32/user/input.h>

#include <machine/EventLog.h>
#include <machine/Machine.h>

#include <cstdio>

void keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR) {
  char text[48];
  std::snprintf(text, sizeof text, "vk %u scan %u %s", bVk, bScan, (dwFlags & KEYEVENTF_KEYUP) ? "up" : "down");
  plat::EventLog::events(plat::Machine::current()).write("keybd_event", text);
}

UINT MapVirtualKeyA(UINT uCode, UINT uMapType) {
  if (uMapType != MAPVK_VK_TO_VSC) return 0;
  // The keys of a PC keyboard's main block in its set-1 scan codes.
  if (uCode >= '1' && uCode <= '9') return 0x02 + (uCode - '1');
  if (uCode == '0') return 0x0B;
  static constexpr char kRows[] = "QWERTYUIOP\0ASDFGHJKL\0ZXCVBNM";
  static constexpr UINT kRowStart[] = {0x10, 0x1E, 0x2C};
  UINT row = 0, column = 0;
  for (const char c : kRows) {
    if (c == '\0') {
      ++row;
      column = 0;
      continue;
    }
    if (static_cast<UINT>(c) == uCode) return kRowStart[row] + column;
    ++column;
  }
  switch (uCode) {
    case 0x08: return 0x0E;  // VK_BACK
    case 0x09: return 0x0F;  // VK_TAB
    case 0x0D: return 0x1C;  // VK_RETURN
    case 0x1B: return 0x01;  // VK_ESCAPE
    case 0x20: return 0x39;  // VK_SPACE
    default: return 0;
  }
}
