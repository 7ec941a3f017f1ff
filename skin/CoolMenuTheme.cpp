#include "skin/CoolMenuTheme.h"

#include <win32/user/metrics.h>

CoolMenuTheme CoolMenuTheme::Default() {
  const COLORREF menu = GetSysColor(COLOR_MENU);
  const COLORREF shadow = GetSysColor(COLOR_3DDKSHADOW);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  return {menu,    menu,    0xFAF0EA, 0xFAF0EA, 0xEFD4C4, GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_HIGHLIGHTTEXT),
          shadow,  shadow,  window,   window,   0xFF0000, kIconBar};
}

bool CoolMenuTheme::LoadPreset(int n) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF menuText = GetSysColor(COLOR_MENUTEXT);
  const COLORREF logoEnd = LogoTextEndColor;
  switch (n) {
    case 1:
      *this = {0xFFFFFF, face, 0xB99B9B, 0xFAF0EA, 0xEFD4C4, menuText, 0x321414,
               0x303230, 0x303230, 0xFFFFFF, 0xFFFFFF, logoEnd, flags | kIconBar};
      return true;
    case 2:
      *this = {GetSysColor(COLOR_MENU), face, 0x6A240A, 0x6A240A, 0x6A240A, menuText, 0xFFFFFF,
               0x949694, 0x303230, 0xFFFFFF, 0xB4B4B4, logoEnd, flags & ~kIconBar};
      return true;
    case 3:
      *this = {0xFFFFFF, face, 0xB99B9B, 0xFAF0EA, 0xEFD4C4, 0, 0,
               0x303230, 0x303230, 0xFFFFFF, 0xFFFFFF, logoEnd, flags & ~kIconBar};
      return true;
    case 4:
      *this = {0xDCEBDC, face, 0x9BB99B, 0xEAFAF0, 0xC4EFD4, 0x0A500A, 0x321414,
               0x809680, 0x303230, 0xFFFFFF, 0xA8D2A8, logoEnd, flags & ~kIconBar};
      return true;
    case 5:
      *this = {0xEBE1E1, face, 0xB99B9B, 0xFAF0EA, 0xEFD4C4, 0x500A0A, 0x321414,
               0x9E7878, 0x303230, 0xFFFFFF, 0xD2A8A8, logoEnd, flags & ~kIconBar};
      return true;
    case 6:
      *this = {face, 0xFFFFFF, 0xB99B9B, 0xFAF0EA, 0xEFD4C4, menuText, 0x321414,
               0x303230, 0x303230, 0xFFFFFF, 0xFFFFFF, logoEnd, flags | kIconBar};
      return true;
    default:
      return false;
  }
}
