// The pictures of the standard icons (LoadIcon with no module): error, question, warning
// and information as message boxes show them, and the plain application icon. Drawn here
// from shapes, 32 pixels a side, each with its mask.
#pragma once

#include <win32/gdi/IconTable.h>

#include <optional>

namespace plat {

class StandardIcons {
 public:
  // IDI_APPLICATION (32512) to IDI_WINLOGO (32517); nothing for another id.
  static std::optional<IconTable::Icon> picture(WORD id);
};

}  // namespace plat
