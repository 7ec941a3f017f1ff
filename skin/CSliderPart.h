// One part of a bitmap slider, its channel or its thumb: a normal image and an optional
// active one from the program's bitmap resources, each with a monochrome mask when the
// part is transparent. Building a mask blackens the image's transparent pixels, so an
// image is drawn as its mask with SRCAND and then itself with SRCPAINT.
#pragma once

#include <win32/gdi.h>

class CSliderPart {
 public:
  CSliderPart() = default;
  ~CSliderPart() { Delete(); }
  CSliderPart(const CSliderPart&) = delete;
  CSliderPart& operator=(const CSliderPart&) = delete;

  // Id 0 unloads the part (TRUE). Otherwise loads the normal image and the active one (id
  // 0: none); a normal image that cannot be loaded changes nothing (FALSE), an active one
  // that cannot be loaded drops the part (FALSE). The mask colour 0xFF000000 stands for
  // the colour of the image's pixel (x, y).
  BOOL Load(UINT nNormalId, UINT nActiveId, BOOL bTransparent, COLORREF crMask, int x, int y);
  void Delete();

  BOOL IsLoaded() const { return m_bLoaded; }
  BOOL HasActive() const { return m_bActive; }
  BOOL IsTransparent() const { return m_bTransparent; }
  HBITMAP Normal() const { return m_hNormal; }
  HBITMAP NormalMask() const { return m_hNormalMask; }
  HBITMAP Active() const { return m_hActive; }
  HBITMAP ActiveMask() const { return m_hActiveMask; }
  // The normal image's size.
  SIZE Size() const;

  // A monochrome mask of the image (1 where it has the mask colour); the image's
  // transparent pixels turn black.
  static HBITMAP CreateMask(HBITMAP hImage, COLORREF crMask, int x, int y);

 private:
  HBITMAP m_hNormal = nullptr;
  HBITMAP m_hNormalMask = nullptr;
  HBITMAP m_hActive = nullptr;
  HBITMAP m_hActiveMask = nullptr;
  BOOL m_bLoaded = FALSE;
  BOOL m_bActive = FALSE;
  BOOL m_bTransparent = FALSE;
};
