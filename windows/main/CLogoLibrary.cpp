#include "windows/main/CLogoLibrary.h"

#include <win32/module.h>

namespace {

using BitmapExport = HBITMAP (*)();
using TextExport = const char* (*)();

}  // namespace

CLogoLibrary::CLogoLibrary() : m_module(::LoadLibraryA("Logo.dll")) {}

CLogoLibrary::~CLogoLibrary() {
  if (m_module) ::FreeLibrary(m_module);
}

FARPROC CLogoLibrary::Find(const char* name) const { return m_module ? ::GetProcAddress(m_module, name) : nullptr; }

HBITMAP CLogoLibrary::GetCompanyLogo() const {
  auto function = reinterpret_cast<BitmapExport>(Find("GetCompanyLogo"));
  return function ? function() : nullptr;
}

HBITMAP CLogoLibrary::GetMessageWindowLogo() const {
  auto function = reinterpret_cast<BitmapExport>(Find("GetMessageWindowLogo"));
  return function ? function() : nullptr;
}

CString CLogoLibrary::GetCompanyWeb() const {
  auto function = reinterpret_cast<TextExport>(Find("GetCompanyWeb"));
  const char* web = function ? function() : nullptr;
  return web ? CString(web) : CString();
}
