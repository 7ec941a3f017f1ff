#include <dshow/filters/MjpegDecompressor.h>

#include <dshow/amvideo.h>
#include <dshow/mediafiles.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <new>

namespace plat {

namespace {

const AMOVIESETUP_MEDIATYPE kInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_MJPG}};
const AMOVIESETUP_MEDIATYPE kOutTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
const AMOVIESETUP_PIN kMjpegPins[] = {{L"XForm In", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, nullptr, 1, kInTypes},
                                     {L"XForm Out", FALSE, TRUE, FALSE, FALSE, &GUID_NULL, nullptr, 2, kOutTypes}};

}  // namespace

const AMOVIESETUP_FILTER MjpegDecompressor::kSetup = {&CLSID_MjpegDec, L"MJPEG Decompressor", MERIT_NORMAL, 2, kMjpegPins};

MjpegDecompressor::MjpegDecompressor(LPUNKNOWN outer) : MpegVideoDecoder("MJPEG Decompressor", outer, CLSID_MjpegDec) {}

CUnknown* MjpegDecompressor::CreateInstance(LPUNKNOWN outer, HRESULT*) {
  return new (std::nothrow) MjpegDecompressor(outer);
}

HRESULT MjpegDecompressor::CheckInputType(const CMediaType* mtIn) {
  if (*mtIn->Type() != MEDIATYPE_Video || *mtIn->Subtype() != MEDIASUBTYPE_MJPG) return VFW_E_TYPE_NOT_ACCEPTED;
  if (*mtIn->FormatType() != FORMAT_VideoInfo || mtIn->FormatLength() < sizeof(VIDEOINFOHEADER) || !mtIn->Format())
    return VFW_E_TYPE_NOT_ACCEPTED;
  const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(mtIn->Format())->bmiHeader;
  return header.biWidth > 0 && header.biHeight > 0 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

int MjpegDecompressor::codecFor(const CMediaType&) { return AV_CODEC_ID_MJPEG; }

}  // namespace plat
