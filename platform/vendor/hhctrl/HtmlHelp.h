// The help viewer ("hhctrl.ocx"). Nothing is shown: each request is written to the
// machine's events.log as "HtmlHelp<TAB><file> <command>", where tests and people see
// which help file a program asked for.
#pragma once

#include <win32/types.h>

extern "C" {

// Opens `file` (a compiled help file) with `command` and `data`; no viewer window is made,
// so the result is NULL.
HWND HtmlHelpA(HWND hwndCaller, LPCSTR file, UINT command, DWORD_PTR data);

}  // extern "C"
