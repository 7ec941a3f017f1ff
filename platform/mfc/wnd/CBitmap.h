// A bitmap object: made, loaded from the resources or attached.
#pragma once

#include <mfc/wnd/CGdiObject.h>

class CDC;

class CBitmap : public CGdiObject {
 public:
  static CBitmap* PASCAL FromHandle(HBITMAP hBitmap) { return fromHandleAs<CBitmap>(hBitmap); }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT

  // From the application's resources.
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
  }
  BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};
