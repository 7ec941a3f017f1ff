// The one hook every cool menu's owner window carries: it answers the owner-draw menu
// messages of cool menu items and hands everything else on.
#pragma once

#include "skin/CSubclassWnd.h"

class CCoolMenuHook : public CSubclassWnd {
 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
