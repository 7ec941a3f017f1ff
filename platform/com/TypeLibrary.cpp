#include <com/TypeLibrary.h>

#include <com/ComPtr.h>
#include <com/GuidText.h>
#include <com/RefCount.h>
#include <com/oleauto.h>
#include <win32/module.h>
#include <win32/registry.h>

#include <cstdio>
#include <mutex>
#include <new>
#include <string>
#include <strings.h>

namespace plat {

namespace {

BSTR wide(const char* text) {
  std::wstring out;
  for (const char* p = text ? text : ""; *p; ++p) out.push_back(static_cast<unsigned char>(*p));
  return SysAllocString(out.c_str());
}

std::string narrow(const OLECHAR* text) {
  std::string out;
  for (const OLECHAR* p = text; p && *p; ++p) out.push_back(static_cast<char>(*p));
  return out;
}

// The IUnknown of the library's objects: one interface besides IUnknown, counted.
template <class Interface, const IID* Iid>
class Counted : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid != IID_IUnknown && riid != *Iid) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<Interface*>(this);
    this->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = m_refs.release();
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~Counted() = default;

 private:
  RefCount m_refs;
};

class Library;

class TypeInfo final : public Counted<ITypeInfo, &IID_ITypeInfo> {
 public:
  TypeInfo(Library* library, std::size_t index);
  ~TypeInfo() override;

  STDMETHODIMP GetTypeAttr(TYPEATTR** ppTypeAttr) override;
  STDMETHODIMP GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) override;
  STDMETHODIMP GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) override;
  STDMETHODIMP GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) override;
  STDMETHODIMP GetImplTypeFlags(UINT index, INT* pImplTypeFlags) override;
  STDMETHODIMP GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) override;
  STDMETHODIMP GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                BSTR* pBstrHelpFile) override;
  STDMETHODIMP GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) override;
  STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR* pTypeAttr) override { delete pTypeAttr; }
  STDMETHODIMP_(void) ReleaseFuncDesc(FUNCDESC* pFuncDesc) override { delete pFuncDesc; }

 private:
  const TypeDescription& type() const;
  const MemberDescription* member(MEMBERID memid) const;

  Library* m_library;
  std::size_t m_index;
};

class Library final : public Counted<ITypeLib, &IID_ITypeLib> {
 public:
  explicit Library(const LibraryDescription& description) : m_description(description) {}
  const LibraryDescription& description() const { return m_description; }

  STDMETHODIMP_(UINT) GetTypeInfoCount() override { return static_cast<UINT>(m_description.types.size()); }
  STDMETHODIMP GetTypeInfo(UINT index, ITypeInfo** ppTInfo) override {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    if (index >= m_description.types.size()) return TYPE_E_ELEMENTNOTFOUND;
    *ppTInfo = new (std::nothrow) TypeInfo(this, index);
    return *ppTInfo ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) override {
    if (!ppTinfo) return E_POINTER;
    for (std::size_t i = 0; i < m_description.types.size(); ++i)
      if (*m_description.types[i].guid == guid) return GetTypeInfo(static_cast<UINT>(i), ppTinfo);
    *ppTinfo = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
  }
  STDMETHODIMP GetLibAttr(TLIBATTR** ppTLibAttr) override {
    if (!ppTLibAttr) return E_POINTER;
    *ppTLibAttr = new (std::nothrow) TLIBATTR{*m_description.libid, 0, m_description.major, m_description.minor};
    return *ppTLibAttr ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                BSTR* pBstrHelpFile) override {
    if (index >= static_cast<INT>(m_description.types.size())) return TYPE_E_ELEMENTNOTFOUND;
    const char* name = index < 0 ? m_description.name : m_description.types[static_cast<std::size_t>(index)].name;
    const char* doc = index < 0 ? m_description.doc : m_description.types[static_cast<std::size_t>(index)].doc;
    if (pBstrName) *pBstrName = wide(name);
    if (pBstrDocString) *pBstrDocString = wide(doc);
    if (pdwHelpContext) *pdwHelpContext = 0;
    if (pBstrHelpFile) *pBstrHelpFile = nullptr;
    return S_OK;
  }
  STDMETHODIMP_(void) ReleaseTLibAttr(TLIBATTR* pTLibAttr) override { delete pTLibAttr; }

 private:
  const LibraryDescription& m_description;
};

TypeInfo::TypeInfo(Library* library, std::size_t index) : m_library(library), m_index(index) { m_library->AddRef(); }
TypeInfo::~TypeInfo() { m_library->Release(); }

const TypeDescription& TypeInfo::type() const { return m_library->description().types[m_index]; }

const MemberDescription* TypeInfo::member(MEMBERID memid) const {
  for (const MemberDescription& m : type().members)
    if (m.dispid == memid) return &m;
  return nullptr;
}

STDMETHODIMP TypeInfo::GetTypeAttr(TYPEATTR** ppTypeAttr) {
  if (!ppTypeAttr) return E_POINTER;
  const TypeDescription& t = type();
  *ppTypeAttr = new (std::nothrow) TYPEATTR{*t.guid, t.kind, static_cast<WORD>(t.members.size()),
                                            static_cast<WORD>(t.implemented.size()), m_library->description().major,
                                            m_library->description().minor};
  return *ppTypeAttr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP TypeInfo::GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) {
  if (!ppFuncDesc) return E_POINTER;
  *ppFuncDesc = nullptr;
  if (index >= type().members.size()) return TYPE_E_ELEMENTNOTFOUND;
  const MemberDescription& m = type().members[index];
  *ppFuncDesc = new (std::nothrow) FUNCDESC{m.dispid, m.kind, static_cast<SHORT>(m.params.size())};
  return *ppFuncDesc ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP TypeInfo::GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) {
  if (!rgBstrNames || !pcNames) return E_POINTER;
  const MemberDescription* m = member(memid);
  if (!m) return TYPE_E_ELEMENTNOTFOUND;
  UINT n = 0;
  if (n < cMaxNames) rgBstrNames[n++] = wide(m->name);
  for (const char* param : m->params)
    if (n < cMaxNames) rgBstrNames[n++] = wide(param);
  *pcNames = n;
  return S_OK;
}

STDMETHODIMP TypeInfo::GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) {
  if (!pRefType) return E_POINTER;
  if (index >= type().implemented.size()) return TYPE_E_ELEMENTNOTFOUND;
  *pRefType = index;
  return S_OK;
}

STDMETHODIMP TypeInfo::GetImplTypeFlags(UINT index, INT* pImplTypeFlags) {
  if (!pImplTypeFlags) return E_POINTER;
  if (index >= type().implemented.size()) return TYPE_E_ELEMENTNOTFOUND;
  *pImplTypeFlags = type().implemented[index].flags;
  return S_OK;
}

STDMETHODIMP TypeInfo::GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) {
  if (!rgszNames || !pMemId) return E_POINTER;
  if (cNames == 0) return E_INVALIDARG;
  for (UINT i = 0; i < cNames; ++i) pMemId[i] = DISPID_UNKNOWN;
  const std::string name = narrow(rgszNames[0]);
  for (const MemberDescription& m : type().members) {
    if (strcasecmp(m.name, name.c_str()) != 0) continue;
    pMemId[0] = m.dispid;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < cNames; ++i) {
      const std::string param = narrow(rgszNames[i]);
      for (std::size_t p = 0; p < m.params.size(); ++p)
        if (strcasecmp(m.params[p], param.c_str()) == 0) pMemId[i] = static_cast<MEMBERID>(p);
      if (pMemId[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP TypeInfo::GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                        BSTR* pBstrHelpFile) {
  const char* name = type().name;
  const char* doc = type().doc;
  if (memid != DISPID_UNKNOWN) {
    const MemberDescription* m = member(memid);
    if (!m) return TYPE_E_ELEMENTNOTFOUND;
    name = m->name;
    doc = "";
  }
  if (pBstrName) *pBstrName = wide(name);
  if (pBstrDocString) *pBstrDocString = wide(doc);
  if (pdwHelpContext) *pdwHelpContext = 0;
  if (pBstrHelpFile) *pBstrHelpFile = nullptr;
  return S_OK;
}

STDMETHODIMP TypeInfo::GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) {
  if (!ppTInfo) return E_POINTER;
  *ppTInfo = nullptr;
  if (hRefType >= type().implemented.size()) return TYPE_E_ELEMENTNOTFOUND;
  return m_library->GetTypeInfoOfGuid(*type().implemented[hRefType].iid, ppTInfo);
}

STDMETHODIMP TypeInfo::GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) {
  if (!ppTLib) return E_POINTER;
  *ppTLib = m_library;
  m_library->AddRef();
  if (pIndex) *pIndex = static_cast<UINT>(m_index);
  return S_OK;
}

struct Known {
  std::mutex lock;
  std::vector<const LibraryDescription*> libraries;
};

Known& known() {
  static Known instance;
  return instance;
}

const LibraryDescription* lookUp(REFGUID libid) {
  std::lock_guard guard(known().lock);
  for (const LibraryDescription* library : known().libraries)
    if (*library->libid == libid) return library;
  return nullptr;
}

}  // namespace

void TypeLibraries::add(const LibraryDescription& library) {
  std::lock_guard guard(known().lock);
  for (const LibraryDescription*& entry : known().libraries)
    if (*entry->libid == *library.libid) {
      entry = &library;
      return;
    }
  known().libraries.push_back(&library);
}

HRESULT TypeLibraries::find(REFGUID libid, ITypeLib** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const LibraryDescription* library = lookUp(libid);
  if (!library) return TYPE_E_LIBNOTREGISTERED;
  *out = new (std::nothrow) Library(*library);
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT TypeLibraries::typeInfo(const LibraryDescription& library, REFGUID guid, ITypeInfo** out) {
  ComPtr<ITypeLib> lib = ComPtr<ITypeLib>::adopt(new (std::nothrow) Library(library));
  if (!lib) return E_OUTOFMEMORY;
  return lib->GetTypeInfoOfGuid(guid, out);
}

}  // namespace plat

HRESULT LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID, ITypeLib** pptlib) {
  if (!pptlib) return E_POINTER;
  *pptlib = nullptr;
  if (SUCCEEDED(plat::TypeLibraries::find(rguid, pptlib))) return S_OK;
  char key[160];
  std::snprintf(key, sizeof key, "TypeLib\\%s\\%u.%u\\0\\win32", plat::GuidText::format(rguid).c_str(), wVerMajor,
                wVerMinor);
  char path[MAX_PATH] = {};
  DWORD size = sizeof path - 1;
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return TYPE_E_LIBNOTREGISTERED;
  const LSTATUS status = RegQueryValueExA(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return TYPE_E_LIBNOTREGISTERED;
  // The module adds its library while it loads, and stays loaded to serve it.
  if (!LoadLibraryA(path)) return TYPE_E_LIBNOTREGISTERED;
  return plat::TypeLibraries::find(rguid, pptlib);
}
