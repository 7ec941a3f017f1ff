// The font of the skinned labels: bold "MS Scans Serif" of a given height, in the
// character set the UI language code of the text library chooses (4: Cyrillic; 2 and 3:
// ANSI; any other: the screen's own). And the push buttons' caption, drawn in a face
// scaled to the button.
#pragma once

#include <win32/gdi.h>

BYTE CharSetForLanguage(int nLanguageCode);
LOGFONTA MakeLabelFont(int nHeight);
// The same face and character set at any weight (0: the default).
LOGFONTA MakeSkinFont(int nHeight, int nWeight);

// The caption of a skinned push button: `face` at a height and width scaled from the
// button's 263 x 54 design, from 30 pixels in and 5 down, vertically centred.
void DrawButtonCaption(HDC hdc, const RECT& rcClient, LPCSTR caption, COLORREF color, LPCSTR face);
