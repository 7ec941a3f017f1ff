// One entry of a filter module's class table: the class's name and CLSID, the function
// that makes an object, an optional routine run when the module loads and unloads, and
// the filter's setup record (registered with the module, read by intelligent connect).
// A module defines `CFactoryTemplate g_Templates[]` and `int g_cTemplates` and includes
// <dshow/baseclasses/dllentry.h> in one source file for its exports.
#pragma once

#include <dshow/baseclasses/CUnknown.h>
#include <dshow/baseclasses/setup.h>

using LPFNNewCOMObject = CUnknown* (*)(LPUNKNOWN pUnkOuter, HRESULT* phr);
using LPFNInitRoutine = void (*)(BOOL bLoading, const CLSID* rclsid);

class CFactoryTemplate {
 public:
  const WCHAR* m_Name;
  const CLSID* m_ClsID;
  LPFNNewCOMObject m_lpfnNew;
  LPFNInitRoutine m_lpfnInit;
  const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;

  BOOL IsClassID(REFCLSID rclsid) const { return *m_ClsID == rclsid; }
  CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) const { return m_lpfnNew(pUnk, phr); }
};
