#include "core/CObserver.h"

#include "core/CSubject.h"

CObserver::~CObserver() {
  while (m_subjects.GetSize() > 0) {
    static_cast<CSubject*>(m_subjects.GetAt(m_subjects.GetUpperBound()))->Detach(this);
  }
}

int CObserver::OnNotify(int event, WPARAM wParam, LPARAM) {
  if (event != 0) return 0;
  m_subjects.Remove(reinterpret_cast<void*>(wParam));
  return 1;
}
