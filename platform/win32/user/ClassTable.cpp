#include <win32/user/ClassTable.h>

#include <machine/IniDocument.h>
#include <win32/user/SystemClasses.h>

#include <algorithm>

namespace plat {

ClassTable::ClassTable() {
  for (WindowClass& cls : systemClasses()) add(std::move(cls));
}

ATOM ClassTable::add(WindowClass cls) {
  if (find(cls.name.c_str())) return 0;
  cls.atom = m_nextAtom++;
  const ATOM atom = cls.atom;
  m_classes.push_back(std::make_shared<const WindowClass>(std::move(cls)));
  return atom;
}

bool ClassTable::remove(LPCSTR nameOrAtom) {
  const auto cls = find(nameOrAtom);
  if (!cls) return false;
  std::erase(m_classes, cls);
  return true;
}

std::shared_ptr<const WindowClass> ClassTable::find(LPCSTR nameOrAtom) const {
  if (!nameOrAtom) return nullptr;
  const auto match = [&](const std::shared_ptr<const WindowClass>& cls) {
    if (IS_INTRESOURCE(nameOrAtom)) return cls->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    return equalsNoCase(cls->name, nameOrAtom);
  };
  const auto it = std::find_if(m_classes.begin(), m_classes.end(), match);
  return it == m_classes.end() ? nullptr : *it;
}

}  // namespace plat
