// The colours and layout every owner-drawn menu of the process shares, named by their
// skin keys (section "COLORTHEME" of a window's skin file).
#pragma once

#include <mfc/afx.h>
#include <win32/gdi.h>

struct CoolMenuTheme {
  // Flag bits: the icon column is filled with IconBarColor; the toolbar bitmap carries an
  // alpha channel.
  static constexpr DWORD kIconBar = 0x01;
  static constexpr DWORD kAlpha = 0x10;

  COLORREF MenuColor;
  COLORREF IconBarColor;
  COLORREF LightBarColor;
  COLORREF LightBarStartColor;
  COLORREF LightBarEndColor;
  COLORREF TextColor;
  COLORREF HighLightColor;
  COLORREF Frame0Color;
  COLORREF Frame1Color;
  COLORREF Frame2Color;
  COLORREF Frame3Color;
  COLORREF LogoTextEndColor;
  DWORD flags;

  // The system's menu colours.
  static CoolMenuTheme Default();
  // Preset n (1 to 6); false, leaving the theme, for any other number.
  bool LoadPreset(int n);
};
