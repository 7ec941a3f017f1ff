#include "CxImagePixels.h"

#include "CxImage.h"

void DecodedPicture::resize(int w, int h) {
  width = w;
  height = h;
  rows.assign(strideOf(w) * static_cast<std::size_t>(h), 0);
}

bool CxImagePixels::sizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= static_cast<long long>(CxImage::kMostSide) &&
         height <= static_cast<long long>(CxImage::kMostSide) &&
         width * height <= static_cast<long long>(CxImage::kMostPixels);
}
