// The maker's branding library ("Logo.dll"): the company logo, the background of the
// taskbar notice and the company's web address.
//
// Plain C exports, looked up by name by the launcher, which works on without them. Each
// bitmap function returns a new bitmap the caller owns and deletes; the web address is
// a zero-terminated text in static storage owned by the library.
#pragma once

#include <win32/types.h>

extern "C" {

HBITMAP GetCompanyLogo();
HBITMAP GetMessageWindowLogo();
const char* GetCompanyWeb();

}  // extern "C"
