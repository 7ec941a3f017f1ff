// AMGetErrorText: the text of a DirectShow or COM error code, as the error boxes of
// programs show it.
#pragma once

#include <win32/types.h>

// Copies the text (cut to MaxLen - 1 characters) and gives its length; 0 when the code
// has no text here or the buffer is unusable.
DWORD AMGetErrorTextA(HRESULT hr, LPSTR pBuffer, DWORD MaxLen);
