#include "CControlHost.h"

#include "CEventSink.h"

#include <com/objbase.h>
#include <com/oleauto.h>
#include <win32/user.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::string narrow(BSTR text) {
  std::string out;
  for (const OLECHAR* p = text; p && *p; ++p) out.push_back(static_cast<char>(*p));
  return out;
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
    } else if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      out.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i + 1));
      i = end == std::string::npos ? line.size() : end + 1;
    } else {
      const std::size_t end = line.find_first_of(" \t", i);
      out.push_back(line.substr(i, end - i));
      i = end == std::string::npos ? line.size() : end;
    }
  }
  return out;
}

std::string show(const VARIANT& value) {
  if (value.vt == VT_BSTR) return "\"" + narrow(value.bstrVal) + "\"";
  VARIANT number;
  VariantInit(&number);
  if (value.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4))) return std::to_string(number.lVal);
  return "-";
}

}  // namespace

CControlHost::CControlHost(HWND window, Printer print) : m_window(window), m_print(std::move(print)), m_site(new CHostSite) {}

CControlHost::~CControlHost() {
  Close();
  m_site->Release();
}

HRESULT CControlHost::Create(REFCLSID clsid, const RECT& rect) {
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, m_control.putVoid());
  if (FAILED(hr)) return hr;
  plat::ComPtr<IOleObject> object;
  if (FAILED(hr = m_control.queryInterface(IID_IOleObject, object))) return hr;
  if (FAILED(hr = object->SetClientSite(m_site))) return hr;
  if (FAILED(hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site, 0, m_window, &rect))) return hr;
  return ConnectEvents();
}

HRESULT CControlHost::ConnectEvents() {
  plat::ComPtr<IProvideClassInfo> classInfo;
  plat::ComPtr<ITypeInfo> coclass;
  HRESULT hr = m_control.queryInterface(IID_IProvideClassInfo, classInfo);
  if (SUCCEEDED(hr)) hr = classInfo->GetClassInfo(coclass.put());
  if (FAILED(hr)) return hr;
  BSTR name = nullptr;
  coclass->GetDocumentation(DISPID_UNKNOWN, nullptr, &name, nullptr, nullptr);
  m_className = narrow(name);
  SysFreeString(name);

  // The default source interface of the class is where its events come from.
  TYPEATTR* attributes = nullptr;
  if (FAILED(hr = coclass->GetTypeAttr(&attributes))) return hr;
  const UINT implemented = attributes->cImplTypes;
  coclass->ReleaseTypeAttr(attributes);
  plat::ComPtr<ITypeInfo> events;
  for (UINT i = 0; i < implemented && !events; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    coclass->GetImplTypeFlags(i, &flags);
    if (flags != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) continue;
    if (SUCCEEDED(coclass->GetRefTypeOfImplType(i, &reference))) coclass->GetRefTypeInfo(reference, events.put());
  }
  if (!events) return E_NOINTERFACE;
  if (FAILED(hr = events->GetTypeAttr(&attributes))) return hr;
  const IID eventsId = attributes->guid;
  const UINT members = attributes->cFuncs;
  events->ReleaseTypeAttr(attributes);
  events->GetDocumentation(DISPID_UNKNOWN, &name, nullptr, nullptr, nullptr);
  m_eventsName = narrow(name);
  SysFreeString(name);
  for (UINT i = 0; i < members; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(events->GetFuncDesc(i, &function))) continue;
    UINT count = 0;
    if (SUCCEEDED(events->GetNames(function->memid, &name, 1, &count)) && count == 1) {
      m_eventNames[function->memid] = narrow(name);
      SysFreeString(name);
    }
    events->ReleaseFuncDesc(function);
  }

  plat::ComPtr<IConnectionPointContainer> points;
  if (FAILED(hr = m_control.queryInterface(IID_IConnectionPointContainer, points))) return hr;
  if (FAILED(hr = points->FindConnectionPoint(eventsId, m_point.put()))) return hr;
  plat::ComPtr<IDispatch> sink = plat::ComPtr<IDispatch>::adopt(
      new CEventSink([this](DISPID dispid, const std::vector<long>& arguments) { OnEvent(dispid, arguments); }));
  return m_point->Advise(sink.get(), &m_cookie);
}

void CControlHost::OnEvent(DISPID dispid, const std::vector<long>& arguments) {
  std::string line = "event " + (m_eventNames.count(dispid) ? m_eventNames[dispid] : std::to_string(dispid)) + "(";
  for (std::size_t i = 0; i < arguments.size(); ++i) line += (i ? ", " : "") + std::to_string(arguments[i]);
  m_print(line + ")");
}

HWND CControlHost::ControlWindow() const {
  plat::ComPtr<IOleInPlaceObject> inPlace;
  HWND window = nullptr;
  if (m_control && SUCCEEDED(m_control.queryInterface(IID_IOleInPlaceObject, inPlace))) inPlace->GetWindow(&window);
  return window;
}

void CControlHost::Close() {
  if (m_point) m_point->Unadvise(m_cookie);
  m_point.reset();
  plat::ComPtr<IOleObject> object;
  if (m_control && SUCCEEDED(m_control.queryInterface(IID_IOleObject, object))) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
  m_control.reset();
}

std::string CControlHost::Execute(const std::string& line) {
  const std::vector<std::string> w = words(line);
  if (w.empty()) return "";
  const std::string& verb = w[0];
  if (verb == "design" && w.size() == 2) {
    m_site->SetUserMode(w[1] != "on");
    return "design " + w[1];
  }
  if (verb == "move" && w.size() == 5) {
    plat::ComPtr<IOleInPlaceObject> inPlace;
    if (!m_control || FAILED(m_control.queryInterface(IID_IOleInPlaceObject, inPlace))) return "move -> no control";
    const int x = std::atoi(w[1].c_str()), y = std::atoi(w[2].c_str());
    const RECT rect{x, y, x + std::atoi(w[3].c_str()), y + std::atoi(w[4].c_str())};
    return "move -> " + hex(inPlace->SetObjectRects(&rect, &rect));
  }
  if (!m_control) return verb + " -> no control";
  const std::vector<std::string> args(w.begin() + std::min<std::size_t>(2, w.size()), w.end());
  if (verb == "call" && w.size() >= 2) return Invoke(DISPATCH_METHOD, w[1], args);
  if (verb == "get" && w.size() == 2) return Invoke(DISPATCH_PROPERTYGET, w[1], args);
  if (verb == "put" && w.size() == 3) return Invoke(DISPATCH_PROPERTYPUT, w[1], args);
  return "unknown command: " + line;
}

std::string CControlHost::Invoke(WORD flags, const std::string& name, const std::vector<std::string>& args) {
  std::wstring wideName = wide(name);
  LPOLESTR names[] = {wideName.data()};
  DISPID dispid = DISPID_UNKNOWN;
  const std::string head = (flags == DISPATCH_METHOD ? "call " : flags == DISPATCH_PROPERTYGET ? "get " : "put ") + name;
  HRESULT hr = m_control->GetIDsOfNames(GUID_NULL, names, 1, 0, &dispid);
  if (FAILED(hr)) return head + " -> unknown name " + hex(hr);

  // Arguments go last first; out values are VT_I4 slots passed by reference.
  std::vector<VARIANT> frame(args.size());
  std::vector<LONG> outs(args.size(), 0);
  for (std::size_t i = 0; i < args.size(); ++i) {
    VARIANT& v = frame[args.size() - 1 - i];
    VariantInit(&v);
    if (args[i] == "&") {
      v.vt = VT_BYREF | VT_I4;
      v.plVal = &outs[i];
    } else if (!args[i].empty() && args[i][0] == '"') {
      v.vt = VT_BSTR;
      v.bstrVal = SysAllocString(wide(args[i].substr(1, args[i].size() - 2)).c_str());
    } else {
      v.vt = VT_I4;
      v.lVal = static_cast<LONG>(std::strtol(args[i].c_str(), nullptr, 0));
    }
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{frame.data(), flags == DISPATCH_PROPERTYPUT ? &putId : nullptr, static_cast<UINT>(frame.size()),
                    flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  VARIANT result;
  VariantInit(&result);
  hr = m_control->Invoke(dispid, GUID_NULL, 0, flags, &params, flags == DISPATCH_PROPERTYPUT ? nullptr : &result,
                         nullptr, nullptr);
  std::string line = head;
  for (const std::string& arg : args) line += " " + arg;
  line += " -> ";
  if (flags == DISPATCH_PROPERTYGET || result.vt != VT_EMPTY) line += show(result) + " ";
  for (std::size_t i = 0; i < args.size(); ++i)
    if (args[i] == "&") line += std::to_string(outs[i]) + " ";
  line += flags == DISPATCH_PROPERTYGET || result.vt != VT_EMPTY ? "(" + hex(hr) + ")" : hex(hr);
  for (VARIANT& v : frame) VariantClear(&v);
  VariantClear(&result);
  return line;
}
