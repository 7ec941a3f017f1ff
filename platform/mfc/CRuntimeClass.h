// Run-time class information of CObject-derived classes: the class name, its base class,
// and for dynamically creatable classes a factory. Every class implemented with
// IMPLEMENT_DYNAMIC or IMPLEMENT_DYNCREATE is registered by name while its module is
// loaded, so FromName("CDeviceObserver") finds it from any module of the process.
#pragma once

#include <win32/types.h>

class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF: not serializable
  CObject* (*m_pfnCreateObject)();  // NULL: not dynamically creatable
  CRuntimeClass* m_pBaseClass;

  // A new object of the class, or NULL when it is not dynamically creatable.
  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class of that exact (case-sensitive) name, or NULL.
  static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);

  // Keeps a class registered for the lifetime of its module (one static per class).
  class Registration {
   public:
    explicit Registration(CRuntimeClass* pClass);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    CRuntimeClass* m_pClass;
  };
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
