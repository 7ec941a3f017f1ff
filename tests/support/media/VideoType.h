// The video type the tests' and benchmarks' own sources and sinks offer.
#pragma once

#include <dshow/baseclasses/CMediaType.h>

namespace test {

// A VIDEOINFOHEADER type of `subtype`: `width` x `height` pictures of `bits` bits a pixel,
// rows unpadded, 25 frames a second, its sample size a picture's.
CMediaType VideoType(const GUID& subtype, LONG width, LONG height, WORD bits);

}  // namespace test
