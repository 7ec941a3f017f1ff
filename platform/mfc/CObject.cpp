#include <mfc/CObject.h>

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

static const CRuntimeClass::Registration orvane_register_CObject(RUNTIME_CLASS(CObject));

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  ASSERT(pClass != nullptr);
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&) {}

// The root holds no state to check.
void CObject::AssertValid() const {}
