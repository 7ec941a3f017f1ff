// The invert module's filter class, "Quarnelix Video Invert Filter" ("Filter/qn_invert.ax").
#pragma once

#include <com/guid.h>

// {DC3B1C46-3437-4848-9480-A4DFA28FA7A4}
DEFINE_GUID(CLSID_QnVideoInvert, 0xDC3B1C46, 0x3437, 0x4848, 0x94, 0x80, 0xA4, 0xDF, 0xA2, 0x8F, 0xA7, 0xA4);
