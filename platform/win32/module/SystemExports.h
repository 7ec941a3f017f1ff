// The functions of the system's own modules (kernel32, user32 …), which have no file on
// this machine. LoadLibraryA and GetModuleHandleA give a built-in module a pseudo-handle,
// and GetProcAddress on it finds only what the platform areas registered here, so a
// program's run-time look-up of an optional system function ("IsWow64Process",
// "SetLayeredWindowAttributes") succeeds exactly when the platform provides it.
//
// Module names compare without case, with or without ".dll"; export names with case.
#pragma once

#include <win32/types.h>

#include <string>
#include <string_view>

namespace plat {

class SystemExports {
 public:
  // Registers `fn` as export `name` of `module`; a module first named here becomes a
  // built-in module. Safe from static initialisers.
  static void add(std::string_view module, std::string_view name, void* fn);

  // The pseudo-handle of a built-in module, or nullptr when `module` names none (a name
  // with a folder never does).
  static HMODULE module(std::string_view module);
  static bool isModule(HMODULE module);
  // nullptr when the module does not export `name`.
  static void* find(HMODULE module, std::string_view name);
  // "kernel32.dll"; empty for a handle that is no built-in module.
  static std::string fileName(HMODULE module);
};

}  // namespace plat
