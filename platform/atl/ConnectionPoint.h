// One outgoing dispinterface of an object: the sinks advised on it, called in the order
// they connected. The point is a member of its object and lives and counts references
// through it. Firing calls each sink's IDispatch::Invoke with DISPATCH_METHOD and VT_I4
// arguments, outside the point's lock, on the caller's thread; a sink that fails is
// skipped.
#pragma once

#include <com/ComPtr.h>
#include <com/ocidl.h>

#include <initializer_list>
#include <mutex>
#include <vector>

namespace plat::atl {

class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* owner, REFIID iid) : m_owner(owner), m_iid(iid) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }

  STDMETHODIMP GetConnectionInterface(IID* pIID) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
  STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
  STDMETHODIMP Unadvise(DWORD dwCookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** ppEnum) override;

  REFIID iid() const { return m_iid; }
  // Calls `dispid` on every sink with the arguments in their written order.
  void fire(DISPID dispid, std::initializer_list<long> arguments);
  // Lets every sink go (the object is going away).
  void clear();

 private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> sink;
  };

  IConnectionPointContainer* m_owner;
  const IID m_iid;
  std::mutex m_lock;
  std::vector<Sink> m_sinks;
  DWORD m_nextCookie = 1;
};

}  // namespace plat::atl
