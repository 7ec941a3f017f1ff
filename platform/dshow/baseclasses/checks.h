// Small helpers every base class and filter uses.
#pragma once

#include <com/hresult.h>

#ifndef NOERROR
#define NOERROR S_OK
#endif
// Debug names of base-class objects; kept for the constructors' signatures.
#define NAME(x) (x)
#define CheckPointer(p, ret) \
  do {                       \
    if ((p) == nullptr) return (ret); \
  } while (0)
