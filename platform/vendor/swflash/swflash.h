// The animation player control of "Filter\\swflash.ocx", as its containers use it: the
// class to create, in-place activated through IOleObject, and its own interface.
#pragma once

#include <com/guid.h>
#include <com/oleauto.h>
#include <com/unknwn.h>

// The player's class, as its module registers it.
DEFINE_GUID(CLSID_AnimationPlayer, 0xD27CDB6E, 0xAE6D, 0x11CF, 0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00);
// The player's own interface.
DEFINE_GUID(IID_IAnimationPlayer, 0x6A2F8C11, 0x3B7D, 0x4E52, 0x9A, 0x41, 0x0C, 0x5E, 0x77, 0x18, 0xB2, 0x03);

struct IAnimationPlayer : public IUnknown {
  // A GDI colour value (red in the low byte).
  STDMETHOD(put_BackgroundColor)(long color) = 0;
  // The movie file for the layer; only layer 0 is shown.
  STDMETHOD(LoadMovie)(int layer, BSTR url) = 0;
  STDMETHOD(Play)() = 0;
  STDMETHOD(Stop)() = 0;

 protected:
  ~IAnimationPlayer() = default;
};

