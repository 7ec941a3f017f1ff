// The maker's picture library ("cximagecrt.dll"): a picture loaded from a file by format
// code, its size, and drawing it stretched onto a device context. The thumbnail lists and
// the picture tip load pictures through it.
//
// Real decoding: BMP (1, 4, 8, 24 and 32 bits, uncompressed, either row order), JPEG
// (libjpeg-turbo) and PNG (libpng). Every other format code loads nothing. A JPEG is
// decoded at the smallest of libjpeg-turbo's scales (1/8, 1/4, 1/2, 1/1) that a drawing
// needs: loading decodes at 1/8, and Stretch decodes again, larger, only when the
// destination is larger than what is held. A file that is truncated, damaged, larger than
// kMostFileBytes or whose picture is larger than kMostSide a side or kMostPixels in all
// is refused: the image is not valid and GetLastError says why. Nothing is read past
// the file's bytes.
#pragma once

#include <win32/types.h>

#include <memory>

#define CXIMAGE_FORMAT_UNKNOWN 0
#define CXIMAGE_FORMAT_BMP 1
#define CXIMAGE_FORMAT_GIF 2
#define CXIMAGE_FORMAT_JPG 3
#define CXIMAGE_FORMAT_PNG 4

class CxImagePixels;

class CxImage {
 public:
  static constexpr unsigned long kMostSide = 16384;
  static constexpr unsigned long kMostPixels = 48UL * 1000 * 1000;
  static constexpr unsigned long kMostFileBytes = 256UL * 1024 * 1024;

  CxImage();
  // Loads the file (a Windows path) decoded as the format `imagetype`.
  CxImage(const char* filename, unsigned long imagetype);
  ~CxImage();
  CxImage(const CxImage&) = delete;
  CxImage& operator=(const CxImage&) = delete;

  // Replaces what the image held; false when the file cannot be read or decoded.
  bool Load(const char* filename, unsigned long imagetype);
  bool IsValid() const;
  // The picture's own size, whatever scale it is held at; 0 when not valid.
  unsigned long GetWidth() const;
  unsigned long GetHeight() const;
  unsigned long GetType() const { return m_type; }
  // Draws the whole picture into (x, y, cx, cy) of the device context with the raster
  // operation, scaled through an area-averaging filter. 1 when drawn, 0 otherwise.
  long Stretch(HDC hdc, long xoffset, long yoffset, long xsize, long ysize, unsigned long dwRop = 0x00CC0020UL);
  // Why the last load or drawing failed; "" after a success.
  const char* GetLastError() const;

 private:
  bool Fail(const char* why);
  // Holds pixels at least cx x cy (as far as the format allows).
  bool Decode(long cx, long cy);

  unsigned long m_type;
  unsigned long m_width;
  unsigned long m_height;
  std::unique_ptr<CxImagePixels> m_pixels;
  const char* m_error;
};
