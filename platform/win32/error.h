// The calling thread's last-error code, as every failing platform call leaves it.
#pragma once

#include <win32/types.h>

DWORD GetLastError();
void SetLastError(DWORD code);
