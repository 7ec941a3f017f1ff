#include <atl/ConnectionPoint.h>

namespace plat::atl {

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* pIID) {
  if (!pIID) return E_POINTER;
  *pIID = m_iid;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
  if (!ppCPC) return E_POINTER;
  *ppCPC = m_owner;
  m_owner->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
  if (!pUnkSink || !pdwCookie) return E_POINTER;
  *pdwCookie = 0;
  ComPtr<IDispatch> sink;
  if (FAILED(pUnkSink->QueryInterface(m_iid, sink.putVoid())) &&
      FAILED(pUnkSink->QueryInterface(IID_IDispatch, sink.putVoid())))
    return CONNECT_E_CANNOTCONNECT;
  std::lock_guard guard(m_lock);
  *pdwCookie = m_nextCookie++;
  m_sinks.push_back({*pdwCookie, std::move(sink)});
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD dwCookie) {
  ComPtr<IDispatch> gone;
  {
    std::lock_guard guard(m_lock);
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
      if (it->cookie == dwCookie) {
        gone = std::move(it->sink);
        m_sinks.erase(it);
        break;
      }
  }
  return gone ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

void ConnectionPoint::fire(DISPID dispid, std::initializer_list<long> arguments) {
  std::vector<ComPtr<IDispatch>> sinks;
  {
    std::lock_guard guard(m_lock);
    for (const Sink& entry : m_sinks) sinks.push_back(entry.sink);
  }
  std::vector<VARIANT> args(arguments.size());
  std::size_t i = arguments.size();
  for (long value : arguments) {
    VARIANT& arg = args[--i];
    arg = VARIANT{};
    arg.vt = VT_I4;
    arg.lVal = static_cast<LONG>(value);
  }
  for (const ComPtr<IDispatch>& sink : sinks) {
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    sink->Invoke(dispid, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
}

void ConnectionPoint::clear() {
  std::vector<Sink> gone;
  std::lock_guard guard(m_lock);
  gone.swap(m_sinks);
}

}  // namespace plat::atl
