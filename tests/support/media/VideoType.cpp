#include "VideoType.h"

#include <dshow/amvideo.h>
#include <dshow/uuids.h>

namespace test {

CMediaType VideoType(const GUID& subtype, LONG width, LONG height, WORD bits) {
  CMediaType type(&MEDIATYPE_Video);
  type.SetSubtype(&subtype);
  type.SetFormatType(&FORMAT_VideoInfo);
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
  info->AvgTimePerFrame = 400000;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * bits / 8);
  type.SetSampleSize(info->bmiHeader.biSizeImage);
  return type;
}

}  // namespace test
