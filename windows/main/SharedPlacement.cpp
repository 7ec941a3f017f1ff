#include "windows/main/SharedPlacement.h"

#include <new>

RECT g_sharedWindowRect = {0, 0, 0, 0};
int g_isMaximized = 1;
WINDOWPLACEMENT* g_sharedPlacement = nullptr;

void InitSharedPlacement(int cx, int cy) {
  if (!g_sharedPlacement) g_sharedPlacement = new (std::nothrow) WINDOWPLACEMENT{};
  if (!g_sharedPlacement) return;
  *g_sharedPlacement = WINDOWPLACEMENT{};
  g_sharedPlacement->length = sizeof(WINDOWPLACEMENT);
  g_sharedPlacement->flags = 0;
  g_sharedPlacement->showCmd = SW_SHOWNORMAL;
  g_sharedPlacement->rcNormalPosition = {cx * 100 / 1024, cy * 100 / 768, cx * 900 / 1024, cy * 700 / 768};
}

void FreeSharedPlacement() {
  delete g_sharedPlacement;
  g_sharedPlacement = nullptr;
}
