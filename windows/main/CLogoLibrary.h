// The maker's branding library ("Logo.dll"), loaded while the launcher lives. The
// launcher works on without it: no logo, a plain notice and no web page.
#pragma once

#include <mfc/CString.h>
#include <win32/types.h>

class CLogoLibrary {
 public:
  CLogoLibrary();
  ~CLogoLibrary();
  CLogoLibrary(const CLogoLibrary&) = delete;
  CLogoLibrary& operator=(const CLogoLibrary&) = delete;

  // A new bitmap the caller deletes, or null when the library or its export is missing.
  HBITMAP GetCompanyLogo() const;
  HBITMAP GetMessageWindowLogo() const;
  // The maker's web address, "" when the library or its export is missing.
  CString GetCompanyWeb() const;

 private:
  FARPROC Find(const char* name) const;

  HMODULE m_module;
};
