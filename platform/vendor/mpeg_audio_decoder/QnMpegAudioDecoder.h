// The MPEG audio decoder module's filter class, "QN MPEG Audio Decoder"
// ("Filter/QNMpegAD.ax"): MPEG audio in, 16-bit PCM out.
#pragma once

#include <com/guid.h>

// {202822C5-2C23-4530-9A80-B64513158173}
DEFINE_GUID(CLSID_QnMpegAudioDecoder, 0x202822C5, 0x2C23, 0x4530, 0x9A, 0x80, 0xB6, 0x45, 0x13, 0x15, 0x81, 0x73);
