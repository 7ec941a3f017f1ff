// Property bags: named VARIANT values an object reads its settings from (a device's
// "FriendlyName").
#pragma once

#include <com/oaidl.h>

// {55272A00-42CB-11CE-8135-00AA004BB851}
DEFINE_GUID(IID_IPropertyBag, 0x55272A00, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);

struct IPropertyBag : public IUnknown {
  // *pVar comes in with the wanted type (VT_EMPTY for the stored one) and leaves owning the value.
  STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
  STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT* pVar) = 0;

 protected:
  ~IPropertyBag() = default;
};
