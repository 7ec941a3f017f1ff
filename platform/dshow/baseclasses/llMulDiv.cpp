#include <dshow/baseclasses/llMulDiv.h>

#include <limits>

LONGLONG WINAPI llMulDiv(LONGLONG a, LONGLONG b, LONGLONG c, LONGLONG d) {
  constexpr LONGLONG kMost = std::numeric_limits<LONGLONG>::max();
  constexpr LONGLONG kLeast = std::numeric_limits<LONGLONG>::min();
  // The product of two 64-bit values and a 64-bit addend always fit 128 bits.
  const __int128 dividend = static_cast<__int128>(a) * b + d;
  if (c == 0) return dividend < 0 ? kLeast : kMost;
  const __int128 quotient = dividend / c;
  if (quotient > kMost) return kMost;
  if (quotient < kLeast) return kLeast;
  return static_cast<LONGLONG>(quotient);
}
