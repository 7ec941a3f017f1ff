// The message box window: a "#32770" dialog with the text in a STATIC (id 0xFFFF) and one
// push button per answer (ids IDOK…IDNO), run modally over its owner (see msgbox.h).
#pragma once

#include <win32/types.h>

namespace plat {

class MessageBoxDialog {
 public:
  static int show(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

}  // namespace plat
