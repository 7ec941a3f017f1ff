// The COM library: initialisation per thread, object creation through built-in classes
// and registered in-process servers, GUID text, task memory, item monikers, the running
// object table and streams on global memory. Including this header brings in every COM
// declaration of the platform.
#pragma once

#include <com/globalmem.h>
#include <com/objidl.h>
#include <com/ocidl.h>
#include <com/oleauto.h>
#include <com/unknwn.h>
#include <com/wtypes.h>

enum COINIT : DWORD {
  COINIT_MULTITHREADED = 0x0,
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8,
};

// Counted per thread: S_OK the first time, S_FALSE after; RPC_E_CHANGED_MODE (not
// counted) when the thread already chose the other threading model.
HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid, LPVOID* ppv);
// Unloads the in-process servers whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", parsed without regard to case, printed in upper case.
int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid);
HRESULT CoCreateGuid(GUID* pguid);

LPVOID CoTaskMemAlloc(SIZE_T cb);
LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
void CoTaskMemFree(LPVOID pv);

HRESULT CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER* ppmk);
HRESULT CreateBindCtx(DWORD reserved, LPBC* ppbc);
// The process's running object table; entries are found by their monikers' display names.
HRESULT GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE* pprot);

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);
HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal);

// What an in-process server module exports.
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllCanUnloadNow();
STDAPI DllRegisterServer();
STDAPI DllUnregisterServer();
using LPFNGETCLASSOBJECT = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using LPFNCANUNLOADNOW = HRESULT(STDAPICALLTYPE*)();
using LPFNDLLREGISTERSERVER = HRESULT(STDAPICALLTYPE*)();
using LPFNDLLUNREGISTERSERVER = HRESULT(STDAPICALLTYPE*)();
