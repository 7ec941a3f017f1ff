// Registration of a filter module's classes and filters (see FilterRegistration):
// DllRegisterServer returns AMovieDllRegisterServer2(TRUE), DllUnregisterServer
// AMovieDllRegisterServer2(FALSE). The function itself comes from dllentry.h.
#pragma once

#include <com/objbase.h>

STDAPI AMovieDllRegisterServer2(BOOL bRegister);
