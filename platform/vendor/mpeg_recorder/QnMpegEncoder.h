// The programming interface of the MPEG-1/2 recorder filter (module "Filter\qnmpeg2enc.ax"),
// as its maker ships it: the filter's class id and its private interfaces. Methods sit at
// fixed positions of the interface's table (IUnknown's three come first); positions the
// filter does not use hold reserved methods that answer E_NOTIMPL, so every caller and
// the filter agree on the layout.
//
// Video settings (position: meaning): 4 stream type (1 MPEG-1, 2 MPEG-2, 3 VCD NTSC,
// 4 VCD PAL, 7 DVD NTSC, 8 DVD PAL, 9 SVCD NTSC, 10 SVCD PAL); 6 video bit rate in bit/s;
// 9 frame rate code (1 23.976, 2 24, 3 25, 4 29.97, 5 30, 6 50, 7 59.94, 8 60 frames a
// second); 11 video buffer size; 13, 14, 20, 46 encoder switches; 19 frames encoded so far;
// 28 audio bit rate in kbit/s; 55 picture size (0, 0: the stream type's own size).
// Multiplex settings: 4, 6, 8, 10, 12, 14 single values and 16 four packet values; the
// program stream the filter writes does not depend on them.
//
// Settings are taken while the filter is stopped (VFW_E_WRONG_STATE otherwise); a value
// out of range gives E_INVALIDARG. The recording starts when the graph runs (the file
// named through IFileSinkFilter is created then) and the file is finished when it stops.
#pragma once

#include <com/hresult.h>
#include <com/unknwn.h>

// {5083B9E8-713F-40AA-B5F3-2AD35D3D7498}
DEFINE_GUID(CLSID_QnMpegRecorder, 0x5083B9E8, 0x713F, 0x40AA, 0xB5, 0xF3, 0x2A, 0xD3, 0x5D, 0x3D, 0x74, 0x98);
// {C291943E-8A3F-468E-AADD-66FE34C5EB8A}
DEFINE_GUID(IID_IQnMpegVideoSettings, 0xC291943E, 0x8A3F, 0x468E, 0xAA, 0xDD, 0x66, 0xFE, 0x34, 0xC5, 0xEB, 0x8A);
// {EED418E0-FBF0-40E4-9AE4-773388B82A89}
DEFINE_GUID(IID_IQnMpegMultiplexSettings, 0xEED418E0, 0xFBF0, 0x40E4, 0x9A, 0xE4, 0x77, 0x33, 0x88, 0xB8, 0x2A, 0x89);
// {A07A54EA-29F5-4A54-9BA9-C0F501959C33}
DEFINE_GUID(IID_IQnMpegEncoderInfo, 0xA07A54EA, 0x29F5, 0x4A54, 0x9B, 0xA9, 0xC0, 0xF5, 0x01, 0x95, 0x9C, 0x33);
// {DABE44F1-4821-472F-AE49-1BA551A8CC78}
DEFINE_GUID(IID_IQnMpegEncoderControl, 0xDABE44F1, 0x4821, 0x472F, 0xAE, 0x49, 0x1B, 0xA5, 0x51, 0xA8, 0xCC, 0x78);
// {6F0A1B52-3C4D-4E8F-9A0B-1C2D3E4F5A6B}: the filter's call record, for testing callers
DEFINE_GUID(IID_IQnMpegRecorderProbe, 0x6F0A1B52, 0x3C4D, 0x4E8F, 0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B);

#define QN_RESERVED(n) \
  virtual HRESULT STDMETHODCALLTYPE Reserved##n() { return E_NOTIMPL; }

struct IQnMpegVideoSettings : public IUnknown {
  STDMETHOD(SetStreamType)(LONG type) = 0;  // 4
  QN_RESERVED(5)
  STDMETHOD(SetVideoBitRate)(LONG bitsPerSecond) = 0;  // 6
  QN_RESERVED(7)
  QN_RESERVED(8)
  STDMETHOD(SetFrameRateCode)(LONG code) = 0;  // 9
  QN_RESERVED(10)
  STDMETHOD(SetVideoBufferSize)(LONG size) = 0;  // 11
  QN_RESERVED(12)
  STDMETHOD(SetSwitch13)(LONG value) = 0;  // 13
  STDMETHOD(SetSwitch14)(LONG value) = 0;  // 14
  QN_RESERVED(15)
  QN_RESERVED(16)
  QN_RESERVED(17)
  QN_RESERVED(18)
  STDMETHOD(GetEncodedFrames)(LONG* frames) = 0;  // 19
  STDMETHOD(SetSwitch20)(LONG value) = 0;         // 20
  QN_RESERVED(21)
  QN_RESERVED(22)
  QN_RESERVED(23)
  QN_RESERVED(24)
  QN_RESERVED(25)
  QN_RESERVED(26)
  QN_RESERVED(27)
  STDMETHOD(SetAudioBitRate)(LONG kbitPerSecond) = 0;  // 28
  QN_RESERVED(29)
  QN_RESERVED(30)
  QN_RESERVED(31)
  QN_RESERVED(32)
  QN_RESERVED(33)
  QN_RESERVED(34)
  QN_RESERVED(35)
  QN_RESERVED(36)
  QN_RESERVED(37)
  QN_RESERVED(38)
  QN_RESERVED(39)
  QN_RESERVED(40)
  QN_RESERVED(41)
  QN_RESERVED(42)
  QN_RESERVED(43)
  QN_RESERVED(44)
  QN_RESERVED(45)
  STDMETHOD(SetSwitch46)(LONG value) = 0;  // 46
  QN_RESERVED(47)
  QN_RESERVED(48)
  QN_RESERVED(49)
  QN_RESERVED(50)
  QN_RESERVED(51)
  QN_RESERVED(52)
  QN_RESERVED(53)
  QN_RESERVED(54)
  STDMETHOD(SetPictureSize)(LONG width, LONG height) = 0;  // 55

 protected:
  ~IQnMpegVideoSettings() = default;
};

struct IQnMpegMultiplexSettings : public IUnknown {
  STDMETHOD(SetMux4)(LONG value) = 0;  // 4
  QN_RESERVED(5)
  STDMETHOD(SetMux6)(LONG value) = 0;  // 6
  QN_RESERVED(7)
  STDMETHOD(SetMux8)(LONG value) = 0;  // 8
  QN_RESERVED(9)
  STDMETHOD(SetMux10)(LONG value) = 0;  // 10
  QN_RESERVED(11)
  STDMETHOD(SetMux12)(LONG value) = 0;  // 12
  QN_RESERVED(13)
  STDMETHOD(SetMux14)(LONG value) = 0;  // 14
  QN_RESERVED(15)
  STDMETHOD(SetPacketValues)(LONG a, LONG b, LONG c, LONG d) = 0;  // 16

 protected:
  ~IQnMpegMultiplexSettings() = default;
};

#undef QN_RESERVED

// Offered by the filter; callers only hold them.
struct IQnMpegEncoderInfo : public IUnknown {
 protected:
  ~IQnMpegEncoderInfo() = default;
};
struct IQnMpegEncoderControl : public IUnknown {
 protected:
  ~IQnMpegEncoderControl() = default;
};

// One call made on the video settings or multiplex settings interface: its position in
// the table and its arguments (an out value is recorded as the value given back).
struct QnMpegRecorderCall {
  enum Interface : LONG { VideoSettings = 1, Multiplex = 2 };
  LONG itf;
  LONG slot;
  LONG argCount;
  LONG args[4];
  HRESULT result;
};

// Lets a test read the calls the filter received, in order, make it refuse a frame rate
// code as an encoder that cannot do it would, and see how far the sound has come.
struct IQnMpegRecorderProbe : public IUnknown {
  STDMETHOD(GetCallCount)(LONG* count) = 0;
  STDMETHOD(GetCall)(LONG index, QnMpegRecorderCall* call) = 0;
  STDMETHOD(RefuseFrameRateCode)(LONG code) = 0;
  // The end time, in ms of the stream, of the last sound written to the current file.
  STDMETHOD(GetSoundWrittenMs)(LONG* ms) = 0;

 protected:
  ~IQnMpegRecorderProbe() = default;
};
