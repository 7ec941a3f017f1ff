// The UI text library gives some texts as printf formats that the windows fill with their
// values. A library from elsewhere (another language's) may carry a format whose
// conversions do not fit the values given, which would read the wrong arguments; a window
// uses a library format only after checking it here.
#pragma once

#include <win32/types.h>

// Whether the conversions of `format`, in order, are exactly the letters of `expected`
// ("%%" is no conversion). Flags, and a width and precision of up to two digits, are
// allowed; '*', longer numbers, length modifiers and a format ending inside a conversion
// are not.
bool HasConversions(LPCSTR format, LPCSTR expected);
