// The item images every owner-drawn menu shares: the command ids of a toolbar resource and
// its picture shaded three times into 16 x 16 image lists (normal, disabled, highlighted).
// The image of a command is the picture at the command's position among the toolbar's ids.
#pragma once

#include "skin/CoolMenuTheme.h"

#include <win32/gdi.h>
#include <win32/gdi/imagelist.h>

#include <vector>

class CoolMenuImages {
 public:
  enum Shade { kNormal, kDisabled, kHighlighted };

  ~CoolMenuImages() { Free(); }

  // Reads the toolbar's ids and builds the lists from its picture (the bitmap of the
  // toolbar's id when nBitmapId is 0); the number of ids, 0 without the resource.
  int Load(UINT nToolbarId, UINT nBitmapId, const CoolMenuTheme& theme);
  // Shades the picture again, after the theme's colours changed.
  void Rebuild(const CoolMenuTheme& theme);
  // The command's place in the lists, -1 when it has no image.
  int IndexOf(UINT nCommandId) const;
  // Draws the command's image; false when it has none.
  bool Draw(HDC hdc, UINT nCommandId, Shade shade, int x, int y) const;
  void Free();

 private:
  void FreeLists();

  std::vector<UINT> m_ids;
  UINT m_bitmapId = 0;
  COLORREF m_mask = 0xC0C0C0;
  HIMAGELIST m_lists[3] = {};
};
