// Loading modules: the program's own libraries, COM servers and filter modules.
//
// A module is an ELF shared object kept under its Windows file name ("Language.dll",
// "Filter\Branchel.ax", "Kinovar.ocx"). LoadLibraryA finds a bare or relative name in
// the program folder and then in the module folder (plat::ProgramFolder), each folder
// component matched without case, and a Windows or Linux path directly; a name without
// an extension gets ".dll". GetProcAddress finds only the module's own exports, by name
// (ordinals are not supported).
//
// The system modules (kernel32, user32 …) have no file: they are built in, and
// GetProcAddress on them finds what the platform registered (plat::SystemExports).
#pragma once

#include <win32/types.h>

#define ERROR_BAD_EXE_FORMAT 193L
#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004

HMODULE LoadLibraryA(LPCSTR lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// The last FreeLibrary of a module unloads it; built-in modules and the program stay.
BOOL FreeLibrary(HMODULE hLibModule);
// NULL gives the program. A name finds a loaded module without counting a load.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
// With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, the loaded module holding the address (how
// a module finds its own handle); otherwise as GetModuleHandleA. The handle is never
// counted, as with GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT.
BOOL GetModuleHandleExA(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule);
// The Windows name of the module's file; NULL gives the program's. A buffer too small
// gets the name cut to nSize - 1 characters and a terminating NUL, the call returns
// nSize and sets ERROR_INSUFFICIENT_BUFFER (the NUL keeps callers that search the text
// for its last backslash within the buffer).
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

#define LoadLibrary LoadLibraryA
#define GetModuleHandle GetModuleHandleA
#define GetModuleFileName GetModuleFileNameA
