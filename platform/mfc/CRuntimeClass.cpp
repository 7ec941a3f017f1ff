#include <mfc/CRuntimeClass.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Classes of every loaded module. Never destroyed: a module unloaded during exit may
// still unregister after static destruction began.
struct ClassRegistry {
  std::mutex lock;
  std::vector<CRuntimeClass*> classes;
};

ClassRegistry& registry() {
  static auto* instance = new ClassRegistry;
  return *instance;
}

}  // namespace

CObject* CRuntimeClass::CreateObject() {
  if (!m_pfnCreateObject) return nullptr;
  return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
    if (c == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  auto& r = registry();
  std::lock_guard guard(r.lock);
  // Newest first, so a module loaded later shadows an older class of the same name.
  for (auto it = r.classes.rbegin(); it != r.classes.rend(); ++it) {
    if (std::strcmp((*it)->m_lpszClassName, lpszClassName) == 0) return *it;
  }
  return nullptr;
}

CRuntimeClass::Registration::Registration(CRuntimeClass* pClass) : m_pClass(pClass) {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  r.classes.push_back(pClass);
}

CRuntimeClass::Registration::~Registration() {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  auto it = std::find(r.classes.begin(), r.classes.end(), m_pClass);
  if (it != r.classes.end()) r.classes.erase(it);
}
