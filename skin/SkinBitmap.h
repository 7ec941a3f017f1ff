// The bitmap routines every skinned control shares: loading a skin picture file, cutting
// a state image out of a skin bitmap, building a window region from a bitmap by its
// transparent colour, and the four-strip frame blit.
#pragma once

#include <win32/gdi.h>

// Reads a picture file whole and decodes it with the OLE picture loader (any format it
// reads). On success the picture's bitmap replaces `hBitmap` (the old one is deleted) and
// `size` gets its size; on failure both are left alone.
BOOL LoadPictureFile(LPCSTR lpszPath, HBITMAP& hBitmap, SIZE& size);

// A new bitmap compatible with the screen holding the cx x cy pixels of `hSource` at
// (x, y), copied 1:1; NULL without a source or for an empty size.
HBITMAP CutBitmap(HBITMAP hSource, int x, int y, int cx, int cy);

// Stretches the whole bitmap over `rcDest` (SRCCOPY) in the device context's current
// stretch mode; nothing without a bitmap.
void StretchWholeBitmap(HDC hdc, const RECT& rcDest, HBITMAP hBitmap);
// Draws cx x cy pixels of `hImage` from (xSrc, ySrc) at (x, y), 1:1, through a mask that
// is 1 where the image is transparent: the mask with SRCAND, then the image with
// SRCPAINT (the image's transparent pixels being black).
void DrawMaskedBitmap(HDC hdc, int x, int y, int cx, int cy, HBITMAP hImage, int xSrc, int ySrc, HBITMAP hMask);
// Deletes a bitmap the caller owns and forgets it.
void ReleaseBitmap(HBITMAP& hBitmap);

// The region of every pixel of `hBitmap` that is not transparent. A pixel is transparent
// when its blue, green and red bytes each lie within [c, c + t] of the bytes of
// `cTransparent` and `cTolerance` taken in that order (low byte against blue), so the
// skin value "MaskColor a,b,c" matches blue = a, green = b, red = c. NULL when the bitmap
// or a device context cannot be had.
HRGN BitmapToRegion(HBITMAP hBitmap, COLORREF cTransparent, COLORREF cTolerance = 0);

// Stretches the four edges of the framed image `rcSource` of `hSource` into `rcDest`:
// top (full width, nTop high), left and right (nLeft / nRight wide between the top and
// bottom margins), bottom (full width, nBottom high), in that order, HALFTONE. The centre
// is left alone. Drawing is clipped to `rcDest`, and the clip is removed at the end.
void DrawFrameBitmap(HDC hdc, const RECT& rcDest, HBITMAP hSource, const RECT& rcSource, int nLeft, int nTop,
                     int nRight, int nBottom);
// The centre the frame blit leaves alone: the inside of the framed image `rcSource`
// (less its edges) stretched over the inside of `rcDest`, colour on colour.
void DrawFrameCentre(HDC hdc, const RECT& rcDest, HBITMAP hSource, const RECT& rcSource, int nLeft, int nTop,
                     int nRight, int nBottom);
