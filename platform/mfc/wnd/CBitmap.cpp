#include <mfc/wnd/CBitmap.h>

#include <mfc/wnd/CDC.h>
#include <mfc/wnd/CWinApp.h>

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
  return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return pDC ? Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) : FALSE;
}
