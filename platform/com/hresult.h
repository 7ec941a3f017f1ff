// HRESULT values and the macros that test them.
#pragma once

#include <win32/types.h>

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define HRESULT_CODE(hr) ((hr)&0xFFFF)
#define HRESULT_FACILITY(hr) (((hr) >> 16) & 0x1fff)
#define MAKE_HRESULT(sev, fac, code) \
  (static_cast<HRESULT>((static_cast<DWORD>(sev) << 31) | (static_cast<DWORD>(fac) << 16) | static_cast<DWORD>(code)))
#define FACILITY_WIN32 7
#define FACILITY_ITF 4
#define HRESULT_FROM_WIN32(x)                                                \
  (static_cast<HRESULT>(x) <= 0 ? static_cast<HRESULT>(x)                   \
                                : static_cast<HRESULT>((static_cast<DWORD>(x) & 0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000))

#define S_OK static_cast<HRESULT>(0L)
#define S_FALSE static_cast<HRESULT>(1L)
#define E_UNEXPECTED static_cast<HRESULT>(0x8000FFFFL)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001L)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000EL)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057L)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002L)
#define E_POINTER static_cast<HRESULT>(0x80004003L)
#define E_HANDLE static_cast<HRESULT>(0x80070006L)
#define E_ABORT static_cast<HRESULT>(0x80004004L)
#define E_FAIL static_cast<HRESULT>(0x80004005L)
#define E_ACCESSDENIED static_cast<HRESULT>(0x80070005L)
#define E_PENDING static_cast<HRESULT>(0x8000000AL)
#define CO_E_NOTINITIALIZED static_cast<HRESULT>(0x800401F0L)
#define CO_E_ALREADYINITIALIZED static_cast<HRESULT>(0x800401F1L)
#define CO_E_CLASSSTRING static_cast<HRESULT>(0x800401F3L)
#define CO_E_DLLNOTFOUND static_cast<HRESULT>(0x800401F8L)
#define CO_E_ERRORINDLL static_cast<HRESULT>(0x800401F9L)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE static_cast<HRESULT>(0x80040111L)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154L)
#define REGDB_E_READREGDB static_cast<HRESULT>(0x80040150L)
#define SELFREG_E_CLASS static_cast<HRESULT>(0x80040201L)
#define MK_E_UNAVAILABLE static_cast<HRESULT>(0x800401E3L)
#define MK_E_SYNTAX static_cast<HRESULT>(0x800401E4L)
#define MK_E_NOOBJECT static_cast<HRESULT>(0x800401E5L)
#define MK_E_NOSTORAGE static_cast<HRESULT>(0x800401EDL)
#define MK_S_REDUCED_TO_SELF static_cast<HRESULT>(0x000401E2L)
#define MK_S_MONIKERALREADYREGISTERED static_cast<HRESULT>(0x000401E7L)
#define RPC_E_CHANGED_MODE static_cast<HRESULT>(0x80010106L)
#define DISP_E_BADVARTYPE static_cast<HRESULT>(0x80020008L)
#define DISP_E_OVERFLOW static_cast<HRESULT>(0x8002000AL)
#define DISP_E_MEMBERNOTFOUND static_cast<HRESULT>(0x80020003L)
#define DISP_E_TYPEMISMATCH static_cast<HRESULT>(0x80020005L)
#define DISP_E_UNKNOWNNAME static_cast<HRESULT>(0x80020006L)
#define DISP_E_BADINDEX static_cast<HRESULT>(0x8002000BL)
#define STG_E_INVALIDFUNCTION static_cast<HRESULT>(0x80030001L)
#define STG_E_MEDIUMFULL static_cast<HRESULT>(0x80030070L)
#define STG_E_INVALIDPOINTER static_cast<HRESULT>(0x80030009L)
#define CONNECT_E_NOCONNECTION static_cast<HRESULT>(0x80040200L)
#define CONNECT_E_ADVISELIMIT static_cast<HRESULT>(0x80040201L)
#define CONNECT_E_CANNOTCONNECT static_cast<HRESULT>(0x80040202L)
