#include <dshow/engine/DevicePropertyBag.h>

#include <com/GuidText.h>
#include <com/oleauto.h>
#include <dshow/AnsiText.h>

#include <string>

namespace plat {

STDMETHODIMP DevicePropertyBag::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyBag) {
    *ppv = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DevicePropertyBag::Release() {
  const ULONG left = m_refs.release();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP DevicePropertyBag::Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) {
  if (!pszPropName || !pVar) return E_POINTER;
  if (pVar->vt != VT_EMPTY && pVar->vt != VT_BSTR) return E_FAIL;
  const std::wstring name(pszPropName);
  std::wstring value;
  if (name == L"FriendlyName" && !m_device.friendlyName.empty()) value = m_device.friendlyName;
  else if (name == L"CLSID") value = AnsiText::toWide(GuidText::format(m_device.clsid));
  else if (name == L"DevicePath" && !m_device.devicePath.empty()) value = m_device.devicePath;
  else return E_INVALIDARG;
  pVar->vt = VT_BSTR;
  pVar->bstrVal = SysAllocStringLen(value.c_str(), static_cast<UINT>(value.size()));
  return pVar->bstrVal ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP DevicePropertyBag::Write(LPCOLESTR, VARIANT*) { return E_FAIL; }

}  // namespace plat
