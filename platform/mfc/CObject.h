// The root of the MFC class tree: run-time class information (IsKindOf, GetRuntimeClass,
// dynamic creation by name) and the serialization and validity hooks derived classes
// override. Objects are not copyable unless a derived class says so.
//
// In a class:       DECLARE_DYNAMIC(CMyWnd)      or DECLARE_DYNCREATE(CMyWnd)
// In its source:    IMPLEMENT_DYNAMIC(CMyWnd, CWnd) or IMPLEMENT_DYNCREATE(CMyWnd, CWnd)
// Both leave the members that follow the declaration public.
#pragma once

#include <mfc/CRuntimeClass.h>
#include <mfc/afxdebug.h>

class CArchive;

class CObject {
 public:
  virtual ~CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

  virtual CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  // Writes or reads the object's state; the root has none.
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const;

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;
};

#define DECLARE_DYNAMIC(class_name)            \
 public:                                       \
  static CRuntimeClass class##class_name;      \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define ORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                     \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), 0xFFFF, pfnNew, \
                                                 RUNTIME_CLASS(base_class_name)};               \
  static const CRuntimeClass::Registration orvane_register_##class_name(RUNTIME_CLASS(class_name)); \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  ORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                   \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }    \
  ORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
