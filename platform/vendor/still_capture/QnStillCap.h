// The still capture module's filter class, "Quarnelix StillCapture" ("Filter/QNStillCap.ax").
// The filter takes video on one input and writes the first picture it receives while
// running, as a 24-bit bitmap file, to the name set through IFileSinkFilter.
#pragma once

#include <com/guid.h>

// {D88828EC-18EB-40F7-B75D-EBC751D84B90}
DEFINE_GUID(CLSID_QnStillCapture, 0xD88828EC, 0x18EB, 0x40F7, 0xB7, 0x5D, 0xEB, 0xC7, 0x51, 0xD8, 0x4B, 0x90);
