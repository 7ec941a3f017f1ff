// Where CString::LoadString and CString(MAKEINTRESOURCE(id)) find string-table texts.
// The resource loader of the window system installs its lookup; until it does, and after
// setLookup(nullptr), every id is "not found".
#pragma once

#include <win32/types.h>

#include <string>

namespace plat {

class StringResources {
 public:
  // Fills `text` and returns true when the string table holds `id`.
  using Lookup = bool (*)(UINT id, std::string& text);

  static void setLookup(Lookup lookup);
  static bool find(UINT id, std::string& text);
};

}  // namespace plat
