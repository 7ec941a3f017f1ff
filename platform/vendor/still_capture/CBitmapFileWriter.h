// Writes one video picture (YUY2, RGB24 or RGB32) as an uncompressed 24-bit bitmap file,
// bottom row first as bitmap files store it.
#pragma once

#include <dshow/amvideo.h>

class CBitmapFileWriter {
 public:
  // False when the picture is shorter than its format says or the file cannot be written.
  static bool write(LPCSTR path, const BYTE* frame, long length, const VIDEOINFOHEADER& format, bool yuy2);
};
