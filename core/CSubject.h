// The subject side of the notification pair: observers attach to it and are called, last
// attached first, with each event it raises. Its destruction raises event 0 with itself
// in wParam, so no observer keeps a pointer to it.
#pragma once

#include "core/CPointerArray.h"

#include <win32/types.h>

class CObserver;

class CSubject {
 public:
  CSubject() = default;
  CSubject(const CSubject&) = delete;
  CSubject& operator=(const CSubject&) = delete;
  virtual ~CSubject();

  // Null and observers already attached are ignored.
  void Attach(CObserver* observer);
  void Detach(CObserver* observer);
  // Calls every attached observer, last attached first; always 1.
  int Notify(int event, WPARAM wParam, LPARAM lParam);

 private:
  CPointerArray m_observers;
};
