// Fixtures of the COM tests: a fresh machine with COM initialised on the test's thread,
// and a plain object whose reference count the tests can read.
#pragma once

#include <com/RefCount.h>
#include <com/objbase.h>

#include <support/TestMachine.h>

namespace test {

class ComTest : public MachineTest {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }
};

// An object with only IUnknown; refs() is its reference count. Tests create it on the
// stack and check it is back to one at the end, so no reference leaked.
class CountedObject final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid != IID_IUnknown) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return m_refs.addRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_refs.release(); }
  ULONG refs() const { return m_refs.count(); }

 private:
  plat::RefCount m_refs;
};

}  // namespace test
