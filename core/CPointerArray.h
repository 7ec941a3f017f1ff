// A pointer array with lookup by value: the attachment lists of subjects and observers.
#pragma once

#include <mfc/afx.h>

class CPointerArray : public CPtrArray {
 public:
  // Index of the first element equal to p, or -1.
  int IndexOf(void* p) const;
  // Removes the first element equal to p, when present.
  void Remove(void* p);
  // The element before / after p; null when p is first / last or absent.
  void* Previous(void* p) const;
  void* Next(void* p) const;
};
