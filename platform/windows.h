// Everything a Windows program includes from <windows.h>: the platform's win32 headers.
#pragma once

#include <win32/types.h>
#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/file.h>
#include <win32/module.h>
#include <win32/version.h>
#include <win32/debug.h>
#include <win32/codepage.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/time.h>
#include <win32/profile.h>
#include <win32/registry.h>
#include <win32/user.h>
#include <win32/gdi.h>
#include <win32/gdi.h>
#include <win32/shell.h>
#include <win32/commdlg/commdlg.h>
