// Configuration interfaces of the video renderers and the overlay mixer's input pins.
#pragma once

#include <dshow/strmif.h>

enum VMRMode { VMRMode_Windowed = 0x1, VMRMode_Windowless = 0x2, VMRMode_Renderless = 0x4 };
enum VMR9Mode { VMR9Mode_Windowed = 0x1, VMR9Mode_Windowless = 0x2, VMR9Mode_Renderless = 0x4 };
enum VMR_ASPECT_RATIO_MODE { VMR_ARMODE_NONE = 0, VMR_ARMODE_LETTER_BOX = 1 };
enum AM_ASPECT_RATIO_MODE { AM_ARMODE_STRETCHED = 0, AM_ARMODE_LETTER_BOX = 1, AM_ARMODE_CROP = 2,
                            AM_ARMODE_STRETCHED_AS_PRIMARY = 3 };

struct IVMRImageCompositor;
struct IVMRImageCompositor9;

// {9E5530C5-7034-48B4-BB46-0B8A6EFC8E36}
DEFINE_GUID(IID_IVMRFilterConfig, 0x9E5530C5, 0x7034, 0x48B4, 0xBB, 0x46, 0x0B, 0x8A, 0x6E, 0xFC, 0x8E, 0x36);
struct IVMRFilterConfig : public IUnknown {
  STDMETHOD(SetImageCompositor)(IVMRImageCompositor* lpVMRImgCompositor) = 0;
  STDMETHOD(SetNumberOfStreams)(DWORD dwMaxStreams) = 0;
  STDMETHOD(GetNumberOfStreams)(DWORD* pdwMaxStreams) = 0;
  STDMETHOD(SetRenderingPrefs)(DWORD dwRenderFlags) = 0;
  STDMETHOD(GetRenderingPrefs)(DWORD* pdwRenderFlags) = 0;
  STDMETHOD(SetRenderingMode)(DWORD Mode) = 0;
  STDMETHOD(GetRenderingMode)(DWORD* pMode) = 0;

 protected:
  ~IVMRFilterConfig() = default;
};

// {EDE80B5C-BAD6-4623-B537-65586C9F8DFD}
DEFINE_GUID(IID_IVMRAspectRatioControl, 0xEDE80B5C, 0xBAD6, 0x4623, 0xB5, 0x37, 0x65, 0x58, 0x6C, 0x9F, 0x8D, 0xFD);
struct IVMRAspectRatioControl : public IUnknown {
  STDMETHOD(GetAspectRatioMode)(LPDWORD lpdwARMode) = 0;
  STDMETHOD(SetAspectRatioMode)(DWORD dwARMode) = 0;

 protected:
  ~IVMRAspectRatioControl() = default;
};

// {5A804648-4F66-4867-9C43-4F5C822CF1B8}
DEFINE_GUID(IID_IVMRFilterConfig9, 0x5A804648, 0x4F66, 0x4867, 0x9C, 0x43, 0x4F, 0x5C, 0x82, 0x2C, 0xF1, 0xB8);
struct IVMRFilterConfig9 : public IUnknown {
  STDMETHOD(SetImageCompositor)(IVMRImageCompositor9* lpVMRImgCompositor) = 0;
  STDMETHOD(SetNumberOfStreams)(DWORD dwMaxStreams) = 0;
  STDMETHOD(GetNumberOfStreams)(DWORD* pdwMaxStreams) = 0;
  STDMETHOD(SetRenderingPrefs)(DWORD dwRenderFlags) = 0;
  STDMETHOD(GetRenderingPrefs)(DWORD* pdwRenderFlags) = 0;
  STDMETHOD(SetRenderingMode)(DWORD Mode) = 0;
  STDMETHOD(GetRenderingMode)(DWORD* pMode) = 0;

 protected:
  ~IVMRFilterConfig9() = default;
};

// {593CDDE1-0759-11D1-9E69-00C04FD7C15B}
DEFINE_GUID(IID_IMixerPinConfig, 0x593CDDE1, 0x0759, 0x11D1, 0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B);
struct IMixerPinConfig : public IUnknown {
  STDMETHOD(SetRelativePosition)(DWORD dwLeft, DWORD dwTop, DWORD dwRight, DWORD dwBottom) = 0;
  STDMETHOD(GetRelativePosition)(DWORD* pdwLeft, DWORD* pdwTop, DWORD* pdwRight, DWORD* pdwBottom) = 0;
  STDMETHOD(SetZOrder)(DWORD dwZOrder) = 0;
  STDMETHOD(GetZOrder)(DWORD* pdwZOrder) = 0;
  STDMETHOD(SetColorKey)(void* pColorKey) = 0;
  STDMETHOD(GetColorKey)(void* pColorKey, DWORD* pColor) = 0;
  STDMETHOD(SetBlendingParameter)(DWORD dwBlendingParameter) = 0;
  STDMETHOD(GetBlendingParameter)(DWORD* pdwBlendingParameter) = 0;
  STDMETHOD(SetAspectRatioMode)(AM_ASPECT_RATIO_MODE amAspectRatioMode) = 0;
  STDMETHOD(GetAspectRatioMode)(AM_ASPECT_RATIO_MODE* pamAspectRatioMode) = 0;
  STDMETHOD(SetStreamTransparent)(BOOL bStreamTransparent) = 0;
  STDMETHOD(GetStreamTransparent)(BOOL* pbStreamTransparent) = 0;

 protected:
  ~IMixerPinConfig() = default;
};
