// Item monikers, bind contexts and the running object table.
#include <com/BindCtx.h>
#include <com/ItemMoniker.h>
#include <com/RunningObjectTable.h>
#include <com/objbase.h>

HRESULT CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER* ppmk) {
  if (!ppmk) return E_INVALIDARG;
  *ppmk = plat::ItemMoniker::create(lpszDelim ? lpszDelim : L"", lpszItem ? lpszItem : L"");
  return S_OK;
}

HRESULT CreateBindCtx(DWORD reserved, LPBC* ppbc) {
  if (!ppbc) return E_INVALIDARG;
  *ppbc = nullptr;
  if (reserved != 0) return E_INVALIDARG;
  *ppbc = plat::BindCtx::create();
  return S_OK;
}

HRESULT GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE* pprot) {
  if (!pprot) return E_INVALIDARG;
  *pprot = nullptr;
  if (reserved != 0) return E_UNEXPECTED;
  *pprot = &plat::RunningObjectTable::instance();
  (*pprot)->AddRef();
  return S_OK;
}
