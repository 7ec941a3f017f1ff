#include "core/CSubject.h"

#include "core/CObserver.h"

CSubject::~CSubject() { Notify(0, reinterpret_cast<WPARAM>(this), 0); }

void CSubject::Attach(CObserver* observer) {
  if (!observer || m_observers.IndexOf(observer) >= 0) return;
  m_observers.Add(observer);
  observer->m_subjects.Add(this);
}

void CSubject::Detach(CObserver* observer) {
  if (!observer) return;
  observer->m_subjects.Remove(this);
  m_observers.Remove(observer);
}

int CSubject::Notify(int event, WPARAM wParam, LPARAM lParam) {
  // An observer may detach itself while it is told; walk a copy.
  CPointerArray observers;
  observers.Copy(m_observers);
  for (int i = observers.GetSize() - 1; i >= 0; --i) {
    static_cast<CObserver*>(observers.GetAt(i))->OnNotify(event, wParam, lParam);
  }
  return 1;
}
