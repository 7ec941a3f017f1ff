// The overlay filter "QXM_OverlayFilter" ("Filter/QXM_OverlayFilter.ax") and its own
// interface. The filter draws a text layer or a picture layer over the video passing
// through it; the interface chooses the layer shown and sets each layer's content,
// colours, position, font and blend. Methods keep their vtable places; the Reserved
// ones are placeholders that answer E_NOTIMPL.
#pragma once

#include <com/unknwn.h>
#include <win32/user/logfont.h>

// {5B96FDFD-42CA-44D8-831C-E3F6503A88D6}
DEFINE_GUID(CLSID_QxmOverlayFilter, 0x5B96FDFD, 0x42CA, 0x44D8, 0x83, 0x1C, 0xE3, 0xF6, 0x50, 0x3A, 0x88, 0xD6);
// {EC42A369-0B4F-40C1-8206-C2282C04F658}
DEFINE_GUID(IID_IQxmOverlay, 0xEC42A369, 0x0B4F, 0x40C1, 0x82, 0x06, 0xC2, 0x28, 0x2C, 0x04, 0xF6, 0x58);

// Overlay modes (SetMode).
#define QXM_OVERLAY_OFF 0
#define QXM_OVERLAY_TEXT 1
#define QXM_OVERLAY_PICTURE 5
// Layers: the same numbers as the modes that show them.
#define QXM_LAYER_TEXT 1
#define QXM_LAYER_PICTURE 5

struct IQxmOverlay : public IUnknown {
  // Which layer is drawn: QXM_OVERLAY_OFF, _TEXT or _PICTURE; E_INVALIDARG for others.
  STDMETHOD(SetMode)(int mode) = 0;
  STDMETHOD(Reserved5)() = 0;
  STDMETHOD(Reserved6)() = 0;
  STDMETHOD(Reserved7)() = 0;
  // The picture layer's bitmap, an HBITMAP's value. Its pixels are copied at once, so
  // the caller may delete the bitmap afterwards; 0 clears the picture.
  STDMETHOD(SetPicture)(LONG_PTR picture) = 0;
  STDMETHOD(Reserved9)() = 0;
  STDMETHOD(Reserved10)() = 0;
  STDMETHOD(Reserved11)() = 0;
  // Text layer: a is the ANSI text (copied), b its length in characters.
  // Picture layer: the size (a wide, b high) the picture is stretched to; 0 keeps its own.
  STDMETHOD(SetContent)(LONG_PTR a, LONG_PTR b, int layer) = 0;
  STDMETHOD(Reserved13)() = 0;
  // a: the text colour (COLORREF; unused by the picture layer). b: the key colour:
  // pixels of the layer in that colour stay transparent.
  STDMETHOD(SetColors)(DWORD a, DWORD b, int layer) = 0;
  STDMETHOD(Reserved15)() = 0;
  // The layer's top-left corner in the picture, in pixels from the top-left.
  STDMETHOD(SetPosition)(int x, int y, int layer) = 0;
  STDMETHOD(Reserved17)() = 0;
  // The text layer's font; E_FAIL when no font can be made from it.
  STDMETHOD(SetFont)(LOGFONTA font, int layer) = 0;
  STDMETHOD(Reserved19)() = 0;
  // The layer's opacity from 0.0 (invisible) to 1.0; any other value (such as -1.0)
  // draws it opaque. The two reserved values are recorded only.
  STDMETHOD(SetBlend)(int reserved1, int reserved2, double blend, int layer) = 0;

 protected:
  ~IQxmOverlay() = default;
};
