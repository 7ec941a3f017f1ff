// BSTR and VARIANT functions.
//
// A BSTR points at its first character; the 4 bytes before it hold the length in bytes
// and a NUL character follows the last one, so a BSTR may hold embedded NULs and still
// reads as a C string up to the first of them.
#pragma once

#include <com/oaidl.h>

BSTR SysAllocString(const OLECHAR* psz);
BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
BSTR SysAllocStringByteLen(LPCSTR psz, UINT len);
INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
void SysFreeString(BSTR bstrString);
UINT SysStringLen(BSTR pbstr);
UINT SysStringByteLen(BSTR bstr);

#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02

void VariantInit(VARIANTARG* pvarg);
HRESULT VariantClear(VARIANTARG* pvarg);
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
// Converts between the scalar types, VT_BOOL and VT_BSTR; pvargDest may be pvarSrc.
HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);

// The type library of that LIBID and version, loading the module registered for it when
// needed (see com/TypeLibrary.h); TYPE_E_LIBNOTREGISTERED when there is none.
HRESULT LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib);
