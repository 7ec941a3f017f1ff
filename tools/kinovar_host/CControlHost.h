// A container for one control in a window of ours: it creates the control, gives it a
// client site with ambient properties, activates it in place, connects a sink to its
// default event interface (found through its class information) and calls it by name
// through IDispatch. Each call and each event comes back as one line of text:
//
//   call <Name> [args]     a method; args are numbers, "texts", or & for an out value
//   get <Name>             a property's value
//   put <Name> <value>     a property put
//   design on|off          the ambient user mode (on: the container is designing)
//   move <x> <y> <w> <h>   the control's rectangle in the window
//
// Lines: "call Init -> 0x00000000", "get Channel -> 3 (0x00000000)",
// "event OnChannelChanged(3)".
#pragma once

#include "CHostSite.h"

#include <com/ComPtr.h>
#include <com/ocidl.h>

#include <functional>
#include <map>
#include <string>

class CControlHost {
 public:
  using Printer = std::function<void(const std::string& line)>;

  CControlHost(HWND window, Printer print);
  ~CControlHost();
  CControlHost(const CControlHost&) = delete;
  CControlHost& operator=(const CControlHost&) = delete;

  // Creates the control at `rect`; the first failing HRESULT.
  HRESULT Create(REFCLSID clsid, const RECT& rect);
  // Runs one command line; its line of output.
  std::string Execute(const std::string& line);
  // The control's window, once activated.
  HWND ControlWindow() const;
  // What the control's type information calls it, and its event interface.
  const std::string& ClassName() const { return m_className; }
  const std::string& EventInterfaceName() const { return m_eventsName; }
  void Close();

 private:
  HRESULT ConnectEvents();
  std::string Invoke(WORD flags, const std::string& name, const std::vector<std::string>& args);
  void OnEvent(DISPID dispid, const std::vector<long>& arguments);

  HWND m_window;
  Printer m_print;
  CHostSite* m_site;
  plat::ComPtr<IDispatch> m_control;
  plat::ComPtr<IConnectionPoint> m_point;
  DWORD m_cookie = 0;
  std::string m_className;
  std::string m_eventsName;
  std::map<DISPID, std::string> m_eventNames;
};
