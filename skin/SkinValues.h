// The value syntax shared by every section of a skin description: comma-separated fields,
// numbers, rectangles, colours, booleans, and the button entries of the "-Buttons"
// sections with their design space of 1024 x 768 units. Skin files are edited by users,
// so every reader here takes any text, however long or broken, and never fails harder
// than giving 0, an empty field or "unchanged".
#pragma once

#include "skin/CIniFile.h"

// Returns the text before the first comma (untrimmed) and removes it and the comma from
// `strValue`, whose rest is then trimmed on both ends. Without a comma it returns the
// whole value and leaves it unchanged, so every further field reads the same text.
CString CutField(CString& strValue);
// A field as the C library reads a decimal number: leading blanks, an optional sign and
// the digits up to the first other character; no digits give 0, and a number beyond
// the int range gives the nearest int.
int FieldToInt(const CString& strField);
// The next four fields as left, top, right and bottom, cut from `strValue` as CutField does.
CRect CutRect(CString& strValue);

// Four fields into left, top, right and bottom ("1,2" gives 1, 2, 2, 2). An empty value
// returns FALSE and leaves `rect` unchanged.
BOOL ReadRect(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey, RECT& rect);
// Three fields red, green, blue, each cut to its low 8 bits, as a GDI colour. An empty
// value returns FALSE and leaves `color` unchanged.
BOOL ReadColor(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey, COLORREF& color);
// "TRUE" in any letter case is true; any other text, or none, is false.
BOOL ReadBool(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey);

// The width (or height) a skin rectangle gives a picture or a control, whatever its numbers:
// the difference taken without overflow, none for a rectangle turned over, and never more
// than kLargestSkinExtent, beyond any screen the skins dress, so sums of sizes stay in
// range and no part asks for more pixels than a screen holds.
inline constexpr int kLargestSkinExtent = 2048;
int SkinExtent(LONG from, LONG to);
inline int SkinWidth(const RECT& rect) { return SkinExtent(rect.left, rect.right); }
inline int SkinHeight(const RECT& rect) { return SkinExtent(rect.top, rect.bottom); }

// A file named in a skin value lies in the folder of the INI file.
CString GetSkinFilePath(const CIniFile& ini, const CString& strFile);

// First command id of a window's skin buttons: key "k" of a button section gives
// kFirstSkinButtonId + k - 1.
inline constexpr int kFirstSkinButtonId = 5000;

// One value "NAME,IMAGE,left,top,right,bottom,X" of a button section.
struct SkinButtonEntry {
  CString strName;
  CString strImage;  // as written: relative to the skin folder
  CRect rcDesign;    // in the 1024 x 768 design space
  int nCommandId;
};

// Key `nKey` ("1", "2", ...) of a button section; FALSE, and no button, when its value
// is empty. The seventh field is read and not used.
BOOL ReadButtonEntry(const CIniFile& ini, LPCSTR lpszSection, int nKey, SkinButtonEntry& entry);
// A design rectangle scaled to a client area of cx x cy: each coordinate times the client
// size, divided by 1024 (x) or 768 (y), truncated toward zero. Like a skin's picture, the
// rectangle is at most kLargestSkinExtent units a side and none when turned over.
CRect ScaleDesignRect(const RECT& rcDesign, int cx, int cy);
// The same from a design space of designWidth x designHeight. Each coordinate is worked
// out in 64 bits and held to the int range, whatever the skin says.
CRect ScaleRect(const RECT& rcDesign, int cx, int cy, int designWidth, int designHeight);
// A coordinate worked out in 64 bits, held to the int range.
int ClampToInt(long long value);
