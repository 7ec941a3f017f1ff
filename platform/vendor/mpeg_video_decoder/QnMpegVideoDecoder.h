// The MPEG video decoder module's filter class and private interface, "QN MPEG Video
// Decoder" ("Filter/QNMpegVD.ax").
#pragma once

#include <com/unknwn.h>

// {4A844AFA-33B8-4133-A3C9-4324B4B49B15}
DEFINE_GUID(CLSID_QnMpegVideoDecoder, 0x4A844AFA, 0x33B8, 0x4133, 0xA3, 0xC9, 0x43, 0x24, 0xB4, 0xB4, 0x9B, 0x15);
// {371D1B06-2047-494E-A6D7-6055F88BE2D0}
DEFINE_GUID(IID_IQnMpegDecoderOption, 0x371D1B06, 0x2047, 0x494E, 0xA6, 0xD7, 0x60, 0x55, 0xF8, 0x8B, 0xE2, 0xD0);

struct IQnMpegDecoderOption : public IUnknown {
  // Slot 4: the decoder's option, kept for the decoder's own use.
  STDMETHOD(SetOption)(BOOL option) = 0;
  // Slot 5: the option last set (FALSE until one is).
  STDMETHOD(GetOption)(BOOL* option) = 0;

 protected:
  ~IQnMpegDecoderOption() = default;
};
