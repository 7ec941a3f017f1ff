// MulDiv: a * b / c through a 64-bit product, rounded half away from zero; -1 when c is 0
// or the result does not fit an int.
#pragma once

#include <win32/types.h>

int MulDiv(int nNumber, int nNumerator, int nDenominator);
