#include "core/CPointerArray.h"

int CPointerArray::IndexOf(void* p) const {
  for (int i = 0; i < GetSize(); ++i) {
    if (GetAt(i) == p) return i;
  }
  return -1;
}

void CPointerArray::Remove(void* p) {
  int index = IndexOf(p);
  if (index >= 0) RemoveAt(index);
}

void* CPointerArray::Previous(void* p) const {
  int index = IndexOf(p);
  return index > 0 ? GetAt(index - 1) : nullptr;
}

void* CPointerArray::Next(void* p) const {
  int index = IndexOf(p);
  return index >= 0 && index + 1 < GetSize() ? GetAt(index + 1) : nullptr;
}
