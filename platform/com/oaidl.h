// VARIANT, the tagged value of automation, and the error record and log that property
// bags report through.
#pragma once

#include <com/unknwn.h>
#include <com/wtypes.h>

// A VARIANT owns what it holds: a VT_BSTR its string, a VT_UNKNOWN one reference.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;
using LPVARIANTARG = VARIANT*;

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT(STDAPICALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
using LPEXCEPINFO = EXCEPINFO*;

// {3127CA40-446E-11CE-8135-00AA004BB851}
DEFINE_GUID(IID_IErrorLog, 0x3127CA40, 0x446E, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);

struct IErrorLog : public IUnknown {
  STDMETHOD(AddError)(LPCOLESTR pszPropName, EXCEPINFO* pExcepInfo) = 0;

 protected:
  ~IErrorLog() = default;
};
