#include <win32/muldiv.h>

#include <climits>
#include <cstdint>

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
  const std::int64_t half = (nDenominator < 0 ? -static_cast<std::int64_t>(nDenominator) : nDenominator) / 2;
  const bool negative = (product < 0) != (nDenominator < 0);
  const std::int64_t magnitude = (product < 0 ? -product : product) + half;
  const std::int64_t quotient = magnitude / (nDenominator < 0 ? -static_cast<std::int64_t>(nDenominator) : nDenominator);
  const std::int64_t result = negative ? -quotient : quotient;
  return result > INT_MAX || result < INT_MIN ? -1 : static_cast<int>(result);
}
