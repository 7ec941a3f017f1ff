// Task memory: the allocator COM hands strings and arrays out of, freed by whoever receives them.
#include <com/objbase.h>

#include <cstdlib>

LPVOID CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb ? cb : 1); }

LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
  if (pv && cb == 0) {
    std::free(pv);
    return nullptr;
  }
  return std::realloc(pv, cb ? cb : 1);
}

void CoTaskMemFree(LPVOID pv) { std::free(pv); }
