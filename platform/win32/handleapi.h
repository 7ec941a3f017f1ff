// Closing kernel handles. Every kernel object a HANDLE names (file, find search, mutex,
// event, thread, waitable timer) is held by plat::HandleTable; CloseHandle drops the
// handle's reference, and the object goes when nothing else still uses it.
#pragma once

#include <win32/types.h>

// FALSE with ERROR_INVALID_HANDLE for a handle that is not open. Closing the current
// process's or thread's pseudo-handle does nothing and succeeds.
BOOL CloseHandle(HANDLE hObject);
