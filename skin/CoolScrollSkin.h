// The skin of the program-drawn scroll bars: nine bitmaps loaded together from the
// resources by name, or none. The four arrows, the vertical and horizontal thumbs and the
// vertical and horizontal tracks are strips of three equal frames (normal, hot, pressed),
// each stretched over its piece; the corner where two bars meet is one picture. Loaded
// while any window has cool scroll bars, shared by all of them.
#pragma once

#include <win32/gdi.h>

class CoolScrollSkin {
 public:
  enum Piece { kUp, kDown, kLeft, kRight, kVertThumb, kHorzThumb, kVertTrack, kHorzTrack, kCorner, kPieces };
  enum State { kNormal, kHot, kPressed };

  // The resource names, in Piece order.
  static const char* const kNames[kPieces];

  // The first window with cool scroll bars loads the pictures, the last one frees them.
  static void Acquire();
  static void Release();
  // False when any picture was missing: the bars are then drawn in the system's look.
  static bool IsLoaded();
  static void Draw(HDC hdc, Piece piece, State state, const RECT& rect);
};
