// The window classes the system registers in every process: the dialog class and the
// standard controls (see controls.h for what they do so far) and the tooltip control
// (tooltip.h).
#pragma once

#include <win32/user/WindowClass.h>

#include <vector>

namespace plat {

std::vector<WindowClass> systemClasses();

}  // namespace plat
