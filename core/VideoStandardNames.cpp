#include "core/VideoStandardNames.h"

#include <cstring>

namespace {

template <int N>
bool Contains(const char* const (&names)[N], const char* name) {
  for (const char* candidate : names) {
    if (std::strcmp(candidate, name) == 0) return true;
  }
  return false;
}

}  // namespace

int VideoStandardNames::FamilyOf(const char* name) {
  if (Contains(Family625, name)) return kFamily625;
  if (Contains(Family525, name)) return kFamily525;
  return -1;
}
