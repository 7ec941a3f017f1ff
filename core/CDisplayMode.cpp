#include "core/CDisplayMode.h"

int CDisplayMode::SetMode(int mode) {
  if (mode > 0) m_mode = mode;
  return mode;
}
