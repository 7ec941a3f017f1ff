// The observer side of the notification pair: it learns of the subjects it is attached to
// and is told when one goes away (event 0, the subject in wParam).
#pragma once

#include "core/CPointerArray.h"

#include <win32/types.h>

class CSubject;

class CObserver {
 public:
  CObserver() = default;
  CObserver(const CObserver&) = delete;
  CObserver& operator=(const CObserver&) = delete;
  // Detaches from every subject, last attached first.
  virtual ~CObserver();

  // Event 0: the subject in wParam goes away and is forgotten (1). Any other event: 0.
  virtual int OnNotify(int event, WPARAM wParam, LPARAM lParam);

 private:
  friend class CSubject;
  CPointerArray m_subjects;
};
