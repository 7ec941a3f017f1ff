#include "skin/CCoolMenuHook.h"

#include "skin/CCoolMenu.h"

LRESULT CCoolMenuHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure && measure->CtlType == ODT_MENU && CCoolMenu::MeasureItem(measure)) return TRUE;
  } else if (msg == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw && draw->CtlType == ODT_MENU && CCoolMenu::DrawItem(draw, m_hWnd)) return TRUE;
  }
  return CSubclassWnd::WindowProc(msg, wParam, lParam);
}
