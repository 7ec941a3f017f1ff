// The control-framework bases: dispatch through a table of typed methods, connection
// points, and type libraries read through automation.
#include <atl/ConnectionPoint.h>
#include <atl/DispatchImpl.h>
#include <com/ComPtr.h>
#include <com/TypeLibrary.h>
#include <com/oleauto.h>
#include <support/TestMachine.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// {5E1D2C3B-4A59-4F68-8E77-9D0A1B2C3D4E}
const GUID kLibrary = {0x5E1D2C3B, 0x4A59, 0x4F68, {0x8E, 0x77, 0x9D, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E}};
// {5E1D2C3B-4A59-4F68-8E77-9D0A1B2C3D4F}
const GUID kInterface = {0x5E1D2C3B, 0x4A59, 0x4F68, {0x8E, 0x77, 0x9D, 0x0A, 0x1B, 0x2C, 0x3D, 0x4F}};
// {5E1D2C3B-4A59-4F68-8E77-9D0A1B2C3D50}
const GUID kEvents = {0x5E1D2C3B, 0x4A59, 0x4F68, {0x8E, 0x77, 0x9D, 0x0A, 0x1B, 0x2C, 0x3D, 0x50}};

struct ICounter : public IDispatch {
  STDMETHOD(get_Count)(long* value) = 0;
  STDMETHOD(put_Count)(long value) = 0;
  STDMETHOD(Add)(long amount, long* total) = 0;
  STDMETHOD(get_Name)(BSTR* name) = 0;
  STDMETHOD(put_Name)(BSTR name) = 0;
};

class Counter final : public plat::atl::IDispatchImpl<Counter, ICounter, &kInterface>, public IConnectionPointContainer {
 public:
  static const plat::LibraryDescription& typeLibrary() {
    static const plat::LibraryDescription library{
        &kLibrary, "CounterLib", "Counter 1.0 Type Library", 1, 0,
        {{&kInterface, TKIND_DISPATCH, "ICounter", "", {{1, "Count", INVOKE_PROPERTYGET, {}}, {1, "Count", INVOKE_PROPERTYPUT, {"value"}}, {2, "Add", INVOKE_FUNC, {"amount", "total"}}, {3, "Name", INVOKE_PROPERTYGET, {}}, {3, "Name", INVOKE_PROPERTYPUT, {"value"}}}, {}},
         {&kEvents, TKIND_DISPATCH, "_CounterEvents", "", {{1, "Changed", INVOKE_FUNC, {"count"}}}, {}}}};
    return library;
  }
  static std::span<const plat::atl::DispatchEntry<Counter>> dispatchTable() {
    using plat::atl::invoke;
    static const plat::atl::DispatchEntry<Counter> table[] = {
        {1, DISPATCH_PROPERTYGET, &invoke<&ICounter::get_Count, Counter>},
        {1, DISPATCH_PROPERTYPUT, &invoke<&ICounter::put_Count, Counter>},
        {2, DISPATCH_METHOD, &invoke<&ICounter::Add, Counter>},
        {3, DISPATCH_PROPERTYGET, &invoke<&ICounter::get_Name, Counter>},
        {3, DISPATCH_PROPERTYPUT, &invoke<&ICounter::put_Name, Counter>},
    };
    return table;
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kInterface) *ppv = static_cast<ICounter*>(this);
    else if (riid == IID_IConnectionPointContainer) *ppv = static_cast<IConnectionPointContainer*>(this);
    else return E_NOINTERFACE;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint** point) override {
    *point = &events;
    return S_OK;
  }

  STDMETHODIMP get_Count(long* value) override {
    if (!value) return E_POINTER;
    *value = count;
    return S_OK;
  }
  STDMETHODIMP put_Count(long value) override {
    count = value;
    events.fire(1, {count});
    return S_OK;
  }
  STDMETHODIMP Add(long amount, long* total) override {
    count += amount;
    if (total) *total = count;
    return S_OK;
  }
  STDMETHODIMP get_Name(BSTR* value) override {
    *value = SysAllocString(name.c_str());
    return S_OK;
  }
  STDMETHODIMP put_Name(BSTR value) override {
    name = value ? value : L"";
    return S_OK;
  }

  long count = 0;
  std::wstring name = L"first";
  plat::atl::ConnectionPoint events{this, kEvents};
};

class Sink final : public IDispatch {
 public:
  explicit Sink(std::vector<std::string>& log, const char* name) : m_log(log), m_name(name) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid != IID_IUnknown && riid != IID_IDispatch) return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    m_log.push_back(std::string(m_name) + " " + std::to_string(id) + " " + std::to_string(flags) + " " +
                    std::to_string(params->rgvarg[0].lVal));
    return S_OK;
  }
  ULONG refs = 1;

 private:
  std::vector<std::string>& m_log;
  const char* m_name;
};

class AtlTest : public test::MachineTest {
 protected:
  HRESULT call(WORD flags, DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr) {
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{args.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr, static_cast<UINT>(args.size()),
                      flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    return counter.Invoke(id, GUID_NULL, 0, flags, &params, result, nullptr, &argError);
  }
  static VARIANT number(LONG value) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
  }

  Counter counter;
  UINT argError = 99;
};

}  // namespace

TEST_F(AtlTest, CallsReachTheTypedMethodsWithTheirArgumentsConverted) {
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(call(DISPATCH_PROPERTYPUT, 1, {number(5)}), S_OK);
  ASSERT_EQ(call(DISPATCH_PROPERTYGET, 1, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 5);

  // A text that reads as a number is one; the out value may come back by reference.
  VARIANT text{};
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"3");
  LONG total = 0;
  VARIANT out{};
  out.vt = VT_BYREF | VT_I4;
  out.plVal = &total;
  ASSERT_EQ(call(DISPATCH_METHOD, 2, {out, text}), S_OK);  // last argument first
  EXPECT_EQ(total, 8);
  // ... or as the call's result when it is left out.
  ASSERT_EQ(call(DISPATCH_METHOD, 2, {number(2)}, &result), S_OK);
  EXPECT_EQ(result.lVal, 10);
  VariantClear(&text);

  VARIANT name{};
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(L"second");
  ASSERT_EQ(call(DISPATCH_PROPERTYPUT, 3, {name}), S_OK);
  VariantClear(&name);
  ASSERT_EQ(call(DISPATCH_PROPERTYGET, 3, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(std::wstring(result.bstrVal), L"second");
  VariantClear(&result);
}

TEST_F(AtlTest, BadCallsAreRefusedBeforeTheMethodRuns) {
  VARIANT word{};
  word.vt = VT_BSTR;
  word.bstrVal = SysAllocString(L"many");
  EXPECT_EQ(call(DISPATCH_PROPERTYPUT, 1, {word}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  VariantClear(&word);
  EXPECT_EQ(call(DISPATCH_PROPERTYPUT, 1, {}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(DISPATCH_METHOD, 2, {number(1), number(2), number(3)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(DISPATCH_METHOD, 2, {number(1), number(2)}), DISP_E_TYPEMISMATCH);  // an out value by value
  EXPECT_EQ(call(DISPATCH_METHOD, 9, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(DISPATCH_PROPERTYPUT, 2, {number(1)}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(counter.count, 0);
}

TEST_F(AtlTest, NamesComeFromTheTypeLibraryWithoutRegardToCase) {
  std::wstring name = L"ADD", param = L"Total", missing = L"Subtract";
  LPOLESTR names[] = {name.data(), param.data()};
  DISPID ids[2] = {};
  ASSERT_EQ(counter.GetIDsOfNames(GUID_NULL, names, 2, 0, ids), S_OK);
  EXPECT_EQ(ids[0], 2);
  EXPECT_EQ(ids[1], 1);
  LPOLESTR unknown[] = {missing.data()};
  EXPECT_EQ(counter.GetIDsOfNames(GUID_NULL, unknown, 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);

  plat::ComPtr<ITypeInfo> info;
  ASSERT_EQ(counter.GetTypeInfo(0, 0, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->guid, kInterface);
  EXPECT_EQ(attributes->cFuncs, 5);
  info->ReleaseTypeAttr(attributes);
  BSTR names2[3] = {};
  UINT count = 0;
  ASSERT_EQ(info->GetNames(2, names2, 3, &count), S_OK);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(std::wstring(names2[0]), L"Add");
  EXPECT_EQ(std::wstring(names2[2]), L"total");
  for (UINT i = 0; i < count; ++i) SysFreeString(names2[i]);
}

TEST_F(AtlTest, ALibraryIsFoundByItsIdOnlyOnceKnownOrRegistered) {
  plat::ComPtr<ITypeLib> library;
  const GUID unknown = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
  EXPECT_EQ(LoadRegTypeLib(unknown, 1, 0, 0, library.put()), TYPE_E_LIBNOTREGISTERED);
  plat::TypeLibraries::add(Counter::typeLibrary());
  ASSERT_EQ(LoadRegTypeLib(kLibrary, 1, 0, 0, library.put()), S_OK);
  EXPECT_EQ(library->GetTypeInfoCount(), 2u);
  plat::ComPtr<ITypeInfo> events;
  ASSERT_EQ(library->GetTypeInfoOfGuid(kEvents, events.put()), S_OK);
  EXPECT_EQ(library->GetTypeInfoOfGuid(unknown, events.put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(AtlTest, EventsReachEverySinkInConnectionOrderUntilItLetsGo) {
  std::vector<std::string> log;
  Sink first(log, "first"), second(log, "second");
  plat::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(counter.FindConnectionPoint(kEvents, point.put()), S_OK);
  DWORD one = 0, two = 0;
  ASSERT_EQ(point->Advise(&first, &one), S_OK);
  ASSERT_EQ(point->Advise(&second, &two), S_OK);
  EXPECT_NE(one, two);
  counter.put_Count(7);
  EXPECT_EQ(log, (std::vector<std::string>{"first 1 1 7", "second 1 1 7"}));
  EXPECT_EQ(point->Unadvise(one), S_OK);
  EXPECT_EQ(point->Unadvise(one), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(first.refs, 1u);
  counter.put_Count(8);
  EXPECT_EQ(log.back(), "second 1 1 8");
  EXPECT_EQ(log.size(), 3u);
  IID iid{};
  point->GetConnectionInterface(&iid);
  EXPECT_EQ(iid, kEvents);
  counter.events.clear();
  EXPECT_EQ(second.refs, 1u);
}
