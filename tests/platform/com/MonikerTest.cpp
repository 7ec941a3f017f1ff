#include "ComTest.h"

#include <com/ComPtr.h>
#include <com/EnumMoniker.h>
#include <com/Moniker.h>
#include <com/ocidl.h>

namespace {

// A moniker kind of another module: gives a property bag when bound to storage and
// nothing as an object, as a device moniker with no device would.
class BagMoniker final : public plat::Moniker {
 public:
  explicit BagMoniker(IUnknown* bag) : m_bag(bag) {}

 protected:
  std::wstring displayName() const override { return L"@device:test"; }
  HRESULT bindToStorage(IBindCtx*, REFIID iid, void** out) override { return m_bag->QueryInterface(iid, out); }

 private:
  IUnknown* m_bag;
};

plat::ComPtr<IMoniker> item(const wchar_t* name) {
  plat::ComPtr<IMoniker> moniker;
  EXPECT_EQ(CreateItemMoniker(L"!", name, moniker.put()), S_OK);
  return moniker;
}

using MonikerTest = test::ComTest;

TEST_F(MonikerTest, BindingDelegatesToTheDerivedKind) {
  test::CountedObject bag;
  auto moniker = plat::ComPtr<IMoniker>::adopt(new BagMoniker(&bag));
  plat::ComPtr<IUnknown> storage;
  ASSERT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IUnknown, storage.putVoid()), S_OK);
  EXPECT_EQ(storage.get(), &bag);
  plat::ComPtr<IPropertyBag> wrong;
  EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, wrong.putVoid()), E_NOINTERFACE);
  plat::ComPtr<IUnknown> object;
  EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IUnknown, object.putVoid()), MK_E_NOOBJECT);
  EXPECT_EQ(object.get(), nullptr);
  storage.reset();
  EXPECT_EQ(bag.refs(), 1u);

  DWORD kind = 1;
  EXPECT_EQ(moniker->IsSystemMoniker(&kind), S_FALSE);
  EXPECT_EQ(kind, static_cast<DWORD>(MKSYS_NONE));
  CLSID clsid;
  EXPECT_EQ(moniker->GetClassID(&clsid), E_NOTIMPL);
}

TEST_F(MonikerTest, EqualityAndHashFollowTheDisplayNameWithoutCase) {
  plat::ComPtr<IMoniker> a = item(L"Graph"), b = item(L"GRAPH"), c = item(L"Other");
  EXPECT_EQ(a->IsEqual(b.get()), S_OK);
  EXPECT_EQ(a->IsEqual(c.get()), S_FALSE);
  DWORD ha = 0, hb = 1;
  ASSERT_EQ(a->Hash(&ha), S_OK);
  ASSERT_EQ(b->Hash(&hb), S_OK);
  EXPECT_EQ(ha, hb);
  plat::ComPtr<IMoniker> otherDelimiter;
  ASSERT_EQ(CreateItemMoniker(L"\\", L"Graph", otherDelimiter.put()), S_OK);
  EXPECT_EQ(a->IsEqual(otherDelimiter.get()), S_FALSE);
}

TEST_F(MonikerTest, QueriesAnswerEveryBaseInterface) {
  plat::ComPtr<IMoniker> moniker = item(L"x");
  plat::ComPtr<IPersistStream> persist;
  EXPECT_EQ(moniker.queryInterface(IID_IPersistStream, persist), S_OK);
  plat::ComPtr<IPersist> base;
  EXPECT_EQ(moniker.queryInterface(IID_IPersist, base), S_OK);
  EXPECT_EQ(static_cast<void*>(base.get()), static_cast<void*>(moniker.get()));
  plat::ComPtr<IStream> none;
  EXPECT_EQ(moniker.queryInterface(IID_IStream, none), E_NOINTERFACE);
  plat::ComPtr<IMoniker> reduced;
  EXPECT_EQ(moniker->Reduce(nullptr, 0, nullptr, reduced.put()), MK_S_REDUCED_TO_SELF);
  EXPECT_EQ(reduced.get(), moniker.get());
}

TEST_F(MonikerTest, EnumeratorWalksSkipsResetsAndClones) {
  plat::EnumMoniker::List list{item(L"a"), item(L"b"), item(L"c")};
  IMoniker* b = list[1].get();
  auto monikers = plat::ComPtr<IEnumMoniker>::adopt(plat::EnumMoniker::create(list));
  list.clear();

  IMoniker* got[2] = {};
  ULONG fetched = 0;
  ASSERT_EQ(monikers->Next(1, got, nullptr), S_OK);  // one at a time needs no count
  got[0]->Release();
  plat::ComPtr<IEnumMoniker> clone;
  ASSERT_EQ(monikers->Clone(clone.put()), S_OK);
  ASSERT_EQ(monikers->Next(1, got, &fetched), S_OK);
  EXPECT_EQ(got[0], b);
  got[0]->Release();
  EXPECT_EQ(monikers->Skip(2), S_FALSE);  // only one left
  EXPECT_EQ(monikers->Next(1, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(monikers->Next(2, got, nullptr), E_POINTER);

  ASSERT_EQ(clone->Next(2, got, &fetched), S_OK);  // the clone went on from where it was made
  EXPECT_EQ(got[0], b);
  got[0]->Release();
  got[1]->Release();
  ASSERT_EQ(monikers->Reset(), S_OK);
  EXPECT_EQ(monikers->Skip(3), S_OK);
}

TEST_F(MonikerTest, BindContextHoldsBoundObjectsAndParameters) {
  test::CountedObject bound, param;
  plat::ComPtr<IBindCtx> context;
  ASSERT_EQ(CreateBindCtx(0, context.put()), S_OK);
  ASSERT_EQ(context->RegisterObjectBound(&bound), S_OK);
  EXPECT_EQ(bound.refs(), 2u);
  wchar_t key[] = L"Device";
  ASSERT_EQ(context->RegisterObjectParam(key, &param), S_OK);
  plat::ComPtr<IUnknown> got;
  ASSERT_EQ(context->GetObjectParam(key, got.put()), S_OK);
  EXPECT_EQ(got.get(), &param);
  got.reset();
  ASSERT_EQ(context->RevokeObjectParam(key), S_OK);
  EXPECT_EQ(context->GetObjectParam(key, got.put()), E_FAIL);
  EXPECT_EQ(param.refs(), 1u);

  BIND_OPTS options{sizeof(BIND_OPTS), 0, 0, 0};
  ASSERT_EQ(context->GetBindOptions(&options), S_OK);
  EXPECT_EQ(options.grfMode, static_cast<DWORD>(STGM_READWRITE));
  context.reset();  // the context lets go of what it bound
  EXPECT_EQ(bound.refs(), 1u);
}

}  // namespace
