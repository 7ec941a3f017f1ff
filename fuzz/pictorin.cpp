// BMP files as the picture browser reads them through the image-effects library: any
// bytes give a DIB or nothing; a DIB it gives has the size its header says, survives every
// adjustment, filter and histogram, and saves and reads back to the same pixels.
#include "FuzzMachine.h"

#include <com/globalmem.h>
#include <vendor/pictorin/Pictorin.h>

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  machine.put("picture.bmp", data, size);
  HGLOBAL dib = DIBRead(machine.programPath("picture.bmp").c_str());
  if (!dib) return 0;
  auto* bytes = static_cast<BYTE*>(GlobalLock(dib));
  BITMAPINFOHEADER h;
  std::memcpy(&h, bytes, sizeof(h));
  const int stride = (h.biWidth * 3 + 3) & ~3;
  fuzz::check(h.biBitCount == 24 && h.biHeight > 0, "a DIB read is 24-bit and bottom-up");
  fuzz::check(GlobalSize(dib) >= 40 + static_cast<std::size_t>(stride) * h.biHeight, "the block holds every row");
  fuzz::check(h.biSizeImage == static_cast<DWORD>(stride) * static_cast<DWORD>(h.biHeight), "the image size is set");
  BYTE* bits = GetDIBBits(bytes);
  fuzz::check(bits == bytes + 40, "the bits follow the header");
  std::vector<BYTE> copy(bits, bits + h.biSizeImage);
  AdjustLightness(bits, h.biWidth, h.biHeight, 3, 3, stride, 40, 0);
  AdjustHue(bits, h.biWidth, h.biHeight, 3, 3, stride, -90, 0);
  AdjustContrast(bits, h.biWidth, h.biHeight, 3, 3, stride, 100, 0);
  AdjustSaturation(bits, h.biWidth, h.biHeight, 3, 3, stride, -30, 0);
  GaussSmooth(copy.data(), 3, 3, h.biWidth, h.biHeight, stride, bits);
  MedianSmooth(copy.data(), 3, 3, h.biWidth, h.biHeight, stride, bits);
  std::vector<DWORD> counts(PICTORIN_CHANNELS * PICTORIN_BINS);
  DWORD maxima[PICTORIN_CHANNELS];
  HistogramFromDIB(bits, 3, 3, h.biWidth, h.biHeight, stride, 15, counts.data(), maxima);
  copy.assign(bits, bits + h.biSizeImage);
  GlobalUnlock(dib);
  fuzz::check(DIBSave(dib, machine.programPath("saved.bmp").c_str()), "a DIB read saves");
  HGLOBAL again = DIBRead(machine.programPath("saved.bmp").c_str());
  fuzz::check(again != nullptr, "a saved DIB reads back");
  auto* back = static_cast<BYTE*>(GlobalLock(again));
  fuzz::check(std::memcmp(back + 40, copy.data(), copy.size()) == 0, "the pixels come back as saved");
  GlobalUnlock(again);
  GlobalFree(again);
  GlobalFree(dib);
  return 0;
}
