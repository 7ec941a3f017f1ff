#include "ComTest.h"

#include <com/BuiltinClasses.h>
#include <com/ole2.h>

#include <thread>

namespace {

// {70D308CC-EFDC-4EE3-98DA-36B35FAFECEC}
DEFINE_GUID(CLSID_Plain, 0x70D308CC, 0xEFDC, 0x4EE3, 0x98, 0xDA, 0x36, 0xB3, 0x5F, 0xAF, 0xEC, 0xEC);

HRESULT createPlain(IUnknown* outer, REFIID iid, void** out) {
  static test::CountedObject object;
  return object.QueryInterface(iid, out);
}

HRESULT createOnThisThread() {
  IUnknown* object = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_Plain, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&object));
  if (object) object->Release();
  return hr;
}

class ApartmentsTest : public test::MachineTest {
 protected:
  void SetUp() override { plat::BuiltinClasses::add(CLSID_Plain, createPlain); }
};

TEST_F(ApartmentsTest, CountsInitialisationsPerThread) {
  EXPECT_EQ(createOnThisThread(), CO_E_NOTINITIALIZED);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  EXPECT_EQ(createOnThisThread(), S_OK);
  CoUninitialize();
  EXPECT_EQ(createOnThisThread(), S_OK);  // one initialisation is still open
  CoUninitialize();
  EXPECT_EQ(createOnThisThread(), CO_E_NOTINITIALIZED);
  CoUninitialize();  // one too many does nothing
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST_F(ApartmentsTest, AnotherThreadIsNotInitialisedByThisOne) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  HRESULT other = S_OK, otherAfterInit = E_FAIL, otherFirstInit = E_FAIL;
  std::thread worker([&] {
    other = createOnThisThread();
    otherFirstInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    otherAfterInit = createOnThisThread();
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(other, CO_E_NOTINITIALIZED);
  EXPECT_EQ(otherFirstInit, S_OK);  // its own first, though this thread is initialised
  EXPECT_EQ(otherAfterInit, S_OK);
  EXPECT_EQ(createOnThisThread(), S_OK);
  CoUninitialize();
}

TEST_F(ApartmentsTest, TheOtherThreadingModelIsRefusedAndNotCounted) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), RPC_E_CHANGED_MODE);
  EXPECT_EQ(OleInitialize(nullptr), RPC_E_CHANGED_MODE);
  CoUninitialize();
  EXPECT_EQ(createOnThisThread(), CO_E_NOTINITIALIZED);
}

TEST_F(ApartmentsTest, OleInitialisationSharesTheCount) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(createOnThisThread(), S_OK);
  OleUninitialize();
  EXPECT_EQ(createOnThisThread(), CO_E_NOTINITIALIZED);
}

}  // namespace
