#include "core/CDisplayMode.h"

CDisplayMode* g_pDisplayMode = nullptr;

int CDisplayMode::SetMode(int mode) {
  if (mode > 0) m_mode = mode;
  return mode;
}
