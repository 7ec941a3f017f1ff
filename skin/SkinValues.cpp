#include "skin/SkinValues.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;

int ScaleCoordinate(long long value, int size, int design) { return ClampToInt(value * size / design); }

}  // namespace

CString CutField(CString& strValue) {
  const int comma = strValue.Find(',');
  if (comma < 0) return strValue;
  CString strField = strValue.Left(comma);
  strValue = strValue.Mid(comma + 1);
  strValue.Trim();
  return strField;
}

int FieldToInt(const CString& strField) {
  // strtol saturates where atoi would overflow.
  const long value = std::strtol(strField, nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

CRect CutRect(CString& strValue) {
  CRect rect;
  rect.left = FieldToInt(CutField(strValue));
  rect.top = FieldToInt(CutField(strValue));
  rect.right = FieldToInt(CutField(strValue));
  rect.bottom = FieldToInt(CutField(strValue));
  return rect;
}

BOOL ReadRect(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey, RECT& rect) {
  CString strValue = ini.GetString(lpszSection, lpszKey, "");
  if (strValue.IsEmpty()) return FALSE;
  rect = CutRect(strValue);
  return TRUE;
}

BOOL ReadColor(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey, COLORREF& color) {
  CString strValue = ini.GetString(lpszSection, lpszKey, "");
  if (strValue.IsEmpty()) return FALSE;
  const COLORREF red = FieldToInt(CutField(strValue)) & 0xFF;
  const COLORREF green = FieldToInt(CutField(strValue)) & 0xFF;
  const COLORREF blue = FieldToInt(CutField(strValue)) & 0xFF;
  color = red + green * 256 + blue * 65536;
  return TRUE;
}

BOOL ReadBool(const CIniFile& ini, LPCSTR lpszSection, LPCSTR lpszKey) {
  return ini.GetString(lpszSection, lpszKey, "").CompareNoCase("TRUE") == 0;
}

CString GetSkinFilePath(const CIniFile& ini, const CString& strFile) {
  const CString& strIni = ini.GetPath();
  return strIni.Left(strIni.ReverseFind('\\') + 1) + strFile;
}

int SkinExtent(LONG from, LONG to) {
  const long long extent = static_cast<long long>(to) - from;
  return static_cast<int>(std::clamp<long long>(extent, 0, kLargestSkinExtent));
}

BOOL ReadButtonEntry(const CIniFile& ini, LPCSTR lpszSection, int nKey, SkinButtonEntry& entry) {
  CString strKey;
  strKey.Format("%d", nKey);
  CString strValue = ini.GetString(lpszSection, strKey, "");
  if (strValue.IsEmpty()) return FALSE;
  entry.strName = CutField(strValue);
  entry.strImage = CutField(strValue);
  entry.rcDesign = CutRect(strValue);
  entry.nCommandId = kFirstSkinButtonId + nKey - 1;
  return TRUE;
}

CRect ScaleDesignRect(const RECT& rcDesign, int cx, int cy) {
  return ScaleRect(rcDesign, cx, cy, kDesignWidth, kDesignHeight);
}

CRect ScaleRect(const RECT& rcDesign, int cx, int cy, int designWidth, int designHeight) {
  const long long right = static_cast<long long>(rcDesign.left) + SkinWidth(rcDesign);
  const long long bottom = static_cast<long long>(rcDesign.top) + SkinHeight(rcDesign);
  return CRect(ScaleCoordinate(rcDesign.left, cx, designWidth), ScaleCoordinate(rcDesign.top, cy, designHeight),
               ScaleCoordinate(right, cx, designWidth), ScaleCoordinate(bottom, cy, designHeight));
}

int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
