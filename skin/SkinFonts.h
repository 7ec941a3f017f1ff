// The font of the skinned labels: bold "MS Scans Serif" of a given height, in the
// character set the UI language code of the text library chooses (4: Cyrillic; 2 and 3:
// ANSI; any other: the screen's own).
#pragma once

#include <win32/gdi.h>

BYTE CharSetForLanguage(int nLanguageCode);
LOGFONTA MakeLabelFont(int nHeight);
