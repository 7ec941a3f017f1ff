// The window classes of the process: the system's own ("#32770", "BUTTON", "STATIC" …),
// registered when the table is made, and the program's. Names compare without case and a
// class can also be named by its atom (MAKEINTATOM). Guarded by the user lock.
#pragma once

#include <win32/user/WindowClass.h>

#include <memory>
#include <string_view>
#include <vector>

namespace plat {

class ClassTable {
 public:
  ClassTable();

  // 0 when a class of that name exists.
  ATOM add(WindowClass cls);
  bool remove(LPCSTR nameOrAtom);
  // nullptr when absent. `nameOrAtom` may be a MAKEINTATOM value.
  std::shared_ptr<const WindowClass> find(LPCSTR nameOrAtom) const;

 private:
  std::vector<std::shared_ptr<const WindowClass>> m_classes;
  ATOM m_nextAtom = 0xC000;
};

}  // namespace plat
