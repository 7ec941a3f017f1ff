#include "ComTest.h"

#include <com/BuiltinClasses.h>
#include <com/ComPtr.h>

namespace {

// {E4DBBD90-F93D-4A24-816D-C3939830846A}
DEFINE_GUID(CLSID_Counted, 0xE4DBBD90, 0xF93D, 0x4A24, 0x81, 0x6D, 0xC3, 0x93, 0x98, 0x30, 0x84, 0x6A);
// {2B0C9D6E-8F0A-4B8E-9D1C-4B7A1E0F5C21}
DEFINE_GUID(CLSID_Unknown, 0x2B0C9D6E, 0x8F0A, 0x4B8E, 0x9D, 0x1C, 0x4B, 0x7A, 0x1E, 0x0F, 0x5C, 0x21);

test::CountedObject g_counted;
IUnknown* g_outerSeen = nullptr;

HRESULT createCounted(IUnknown* outer, REFIID iid, void** out) {
  g_outerSeen = outer;
  if (outer) return CLASS_E_NOAGGREGATION;
  return g_counted.QueryInterface(iid, out);
}

class BuiltinClassesTest : public test::ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    plat::BuiltinClasses::add(CLSID_Counted, createCounted);
  }
};

TEST_F(BuiltinClassesTest, CreatesThroughTheRegisteredFunction) {
  ULONG before = g_counted.refs();
  plat::ComPtr<IUnknown> object;
  ASSERT_EQ(CoCreateInstance(CLSID_Counted, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()), S_OK);
  EXPECT_EQ(object.get(), &g_counted);
  EXPECT_EQ(g_counted.refs(), before + 1);
  object.reset();
  EXPECT_EQ(g_counted.refs(), before);
}

TEST_F(BuiltinClassesTest, AnyContextWithInprocServerFindsThem) {
  for (DWORD context : {DWORD{CLSCTX_ALL}, DWORD{CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER}, DWORD{CLSCTX_SERVER}}) {
    plat::ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_Counted, nullptr, context, IID_IUnknown, object.putVoid()), S_OK) << context;
  }
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_Counted, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

TEST_F(BuiltinClassesTest, UnknownClassIsNotRegistered) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

TEST_F(BuiltinClassesTest, AggregationRefusedByTheClassReachesTheCaller) {
  test::CountedObject outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_Counted, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(g_outerSeen, &outer);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(outer.refs(), 1u);
}

TEST_F(BuiltinClassesTest, ClassObjectIsAFactoryForTheClass) {
  plat::ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_Counted, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  plat::ComPtr<IUnknown> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.putVoid()), S_OK);
  EXPECT_EQ(object.get(), &g_counted);
  plat::ComPtr<IStream> wrong;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IStream, wrong.putVoid()), E_NOINTERFACE);
  plat::ComPtr<IStream> notAFactory;
  EXPECT_EQ(CoGetClassObject(CLSID_Counted, CLSCTX_INPROC_SERVER, nullptr, IID_IStream, notAFactory.putVoid()),
            E_NOINTERFACE);
}

TEST_F(BuiltinClassesTest, LaterAddReplacesTheClass) {
  auto other = [](IUnknown*, REFIID, void** out) -> HRESULT {
    *out = nullptr;
    return E_ACCESSDENIED;
  };
  plat::BuiltinClasses::add(CLSID_Counted, other);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_Counted, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), E_ACCESSDENIED);
  EXPECT_EQ(plat::BuiltinClasses::find(CLSID_Counted), static_cast<plat::CreateInstanceFn>(other));
  EXPECT_EQ(plat::BuiltinClasses::find(CLSID_Unknown), nullptr);
}

}  // namespace
