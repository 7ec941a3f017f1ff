#include <com/olectl.h>

#include <win32/user/PropertyFrame.h>

HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                               LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID, LCID, DWORD, LPVOID) {
  if ((cObjects && !ppUnk) || (cPages && !pPageClsID)) return E_POINTER;
  plat::PropertyFrame frame(lpszCaption);
  const HRESULT hr = frame.addPages(cObjects, ppUnk, cPages, pPageClsID);
  if (FAILED(hr)) return hr;
  return frame.run(hwndOwner, static_cast<int>(x), static_cast<int>(y));
}
