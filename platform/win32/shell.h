// The shell (shell32) and the power management of the PC: program start, the tray, stand-by,
// shut-down and wake-up timers. See shell/shellapi.h and shell/power.h.
#pragma once

#include <win32/shell/power.h>
#include <win32/shell/shellapi.h>
