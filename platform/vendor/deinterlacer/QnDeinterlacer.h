// The deinterlacer module's filter class, "Quarnelix Deinterlacer" ("Filter/qndeinterlacer.ax").
#pragma once

#include <com/guid.h>

// {335D166F-BDCF-4B7E-B360-6A59617C8036}
DEFINE_GUID(CLSID_QnDeinterlacer, 0x335D166F, 0xBDCF, 0x4B7E, 0xB3, 0x60, 0x6A, 0x59, 0x61, 0x7C, 0x80, 0x36);
