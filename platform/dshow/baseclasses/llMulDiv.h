// Scaling of 64-bit media times: (a × b + d) / c through a 128-bit intermediate, so a
// time of any length can be turned into another unit (samples, frames) or stretched by a
// ratio of two lengths without overflowing on the way. The quotient is truncated towards
// zero (d rounds it); a result beyond 64 bits, or a divisor of 0, gives the largest or
// smallest LONGLONG by the sign of the true result.
#pragma once

#include <win32/types.h>

LONGLONG WINAPI llMulDiv(LONGLONG a, LONGLONG b, LONGLONG c, LONGLONG d);
