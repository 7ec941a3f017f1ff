// The trackbar control: a position between a minimum and a maximum (TBM_SETRANGE packs
// them as 16-bit words, TBM_SETRANGEMIN/MAX take whole values), set by the program
// (TBM_SETPOS, clamped) or by the user: a click on the groove puts the thumb there, the
// arrow keys move it by one, Page Up/Down by a fifth of the range, Home/End to the ends.
// Each user move tells the parent WM_HSCROLL (code and, for a thumb position, the new
// position in the high word; lParam the trackbar), then TB_ENDTRACK.
#pragma once

#include <win32/types.h>

namespace plat {

class Trackbar {
 public:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace plat
