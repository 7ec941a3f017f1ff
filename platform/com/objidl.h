// Streams, persistence, monikers, bind contexts and the running object table: the
// interface declarations, in Windows' vtable order (callers and implementers in other
// modules rely on the slot order, so methods are never reordered).
#pragma once

#include <com/unknwn.h>
#include <com/wtypes.h>

struct IStream;
struct IMoniker;
struct IEnumMoniker;
struct IEnumString;
struct IBindCtx;
struct IRunningObjectTable;

// {0C733A30-2A1C-11CE-ADE5-00AA0044773A}
DEFINE_GUID(IID_ISequentialStream, 0x0C733A30, 0x2A1C, 0x11CE, 0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3A);
// {0000000C-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IStream, 0x0000000C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {0000010C-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IPersist, 0x0000010C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {00000109-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IPersistStream, 0x00000109, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {0000000F-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IMoniker, 0x0000000F, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {00000102-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IEnumMoniker, 0x00000102, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {00000101-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IEnumString, 0x00000101, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {0000000E-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IBindCtx, 0x0000000E, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {00000010-0000-0000-C000-000000000046}
DEFINE_GUID(IID_IRunningObjectTable, 0x00000010, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
// {00000304-0000-0000-C000-000000000046}
DEFINE_GUID(CLSID_ItemMoniker, 0x00000304, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

// ---- streams

enum STREAM_SEEK : DWORD {
  STREAM_SEEK_SET = 0,
  STREAM_SEEK_CUR = 1,
  STREAM_SEEK_END = 2,
};

enum STGTY : DWORD {
  STGTY_STORAGE = 1,
  STGTY_STREAM = 2,
  STGTY_LOCKBYTES = 3,
  STGTY_PROPERTY = 4,
};

enum STATFLAG : DWORD {
  STATFLAG_DEFAULT = 0,
  STATFLAG_NONAME = 1,
};

#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L

struct STATSTG {
  LPOLESTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};

struct ISequentialStream : public IUnknown {
  STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;

 protected:
  ~ISequentialStream() = default;
};

struct IStream : public ISequentialStream {
  STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
  STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) = 0;
  STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) = 0;
  STDMETHOD(Commit)(DWORD grfCommitFlags) = 0;
  STDMETHOD(Revert)() = 0;
  STDMETHOD(LockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  STDMETHOD(UnlockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
  STDMETHOD(Clone)(IStream** ppstm) = 0;

 protected:
  ~IStream() = default;
};
using LPSTREAM = IStream*;

// ---- the task allocator, as the shell hands it out

struct IMalloc : public IUnknown {
  STDMETHOD_(void*, Alloc)(SIZE_T cb) = 0;
  STDMETHOD_(void*, Realloc)(void* pv, SIZE_T cb) = 0;
  STDMETHOD_(void, Free)(void* pv) = 0;
  STDMETHOD_(SIZE_T, GetSize)(void* pv) = 0;
  STDMETHOD_(int, DidAlloc)(void* pv) = 0;
  STDMETHOD_(void, HeapMinimize)() = 0;

 protected:
  ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

// ---- persistence

struct IPersist : public IUnknown {
  STDMETHOD(GetClassID)(CLSID* pClassID) = 0;

 protected:
  ~IPersist() = default;
};

struct IPersistStream : public IPersist {
  STDMETHOD(IsDirty)() = 0;
  STDMETHOD(Load)(IStream* pStm) = 0;
  STDMETHOD(Save)(IStream* pStm, BOOL fClearDirty) = 0;
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER* pcbSize) = 0;

 protected:
  ~IPersistStream() = default;
};

// ---- monikers

enum MKSYS : DWORD {
  MKSYS_NONE = 0,
  MKSYS_GENERICCOMPOSITE = 1,
  MKSYS_FILEMONIKER = 2,
  MKSYS_ANTIMONIKER = 3,
  MKSYS_ITEMMONIKER = 4,
  MKSYS_POINTERMONIKER = 5,
};

struct BIND_OPTS {
  DWORD cbStruct;
  DWORD grfFlags;
  DWORD grfMode;
  DWORD dwTickCountDeadline;
};

struct IEnumString : public IUnknown {
  STDMETHOD(Next)(ULONG celt, LPOLESTR* rgelt, ULONG* pceltFetched) = 0;
  STDMETHOD(Skip)(ULONG celt) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumString** ppenum) = 0;

 protected:
  ~IEnumString() = default;
};

struct IMoniker : public IPersistStream {
  STDMETHOD(BindToObject)(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult, void** ppvResult) = 0;
  STDMETHOD(BindToStorage)(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid, void** ppvObj) = 0;
  STDMETHOD(Reduce)(IBindCtx* pbc, DWORD dwReduceHowFar, IMoniker** ppmkToLeft, IMoniker** ppmkReduced) = 0;
  STDMETHOD(ComposeWith)(IMoniker* pmkRight, BOOL fOnlyIfNotGeneric, IMoniker** ppmkComposite) = 0;
  STDMETHOD(Enum)(BOOL fForward, IEnumMoniker** ppenumMoniker) = 0;
  STDMETHOD(IsEqual)(IMoniker* pmkOtherMoniker) = 0;
  STDMETHOD(Hash)(DWORD* pdwHash) = 0;
  STDMETHOD(IsRunning)(IBindCtx* pbc, IMoniker* pmkToLeft, IMoniker* pmkNewlyRunning) = 0;
  STDMETHOD(GetTimeOfLastChange)(IBindCtx* pbc, IMoniker* pmkToLeft, FILETIME* pFileTime) = 0;
  STDMETHOD(Inverse)(IMoniker** ppmk) = 0;
  STDMETHOD(CommonPrefixWith)(IMoniker* pmkOther, IMoniker** ppmkPrefix) = 0;
  STDMETHOD(RelativePathTo)(IMoniker* pmkOther, IMoniker** ppmkRelPath) = 0;
  STDMETHOD(GetDisplayName)(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR* ppszDisplayName) = 0;
  STDMETHOD(ParseDisplayName)(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR pszDisplayName, ULONG* pchEaten,
                              IMoniker** ppmkOut) = 0;
  STDMETHOD(IsSystemMoniker)(DWORD* pdwMksys) = 0;

 protected:
  ~IMoniker() = default;
};
using LPMONIKER = IMoniker*;

struct IEnumMoniker : public IUnknown {
  STDMETHOD(Next)(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) = 0;
  STDMETHOD(Skip)(ULONG celt) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumMoniker** ppenum) = 0;

 protected:
  ~IEnumMoniker() = default;
};

struct IBindCtx : public IUnknown {
  STDMETHOD(RegisterObjectBound)(IUnknown* punk) = 0;
  STDMETHOD(RevokeObjectBound)(IUnknown* punk) = 0;
  STDMETHOD(ReleaseBoundObjects)() = 0;
  STDMETHOD(SetBindOptions)(BIND_OPTS* pbindopts) = 0;
  STDMETHOD(GetBindOptions)(BIND_OPTS* pbindopts) = 0;
  STDMETHOD(GetRunningObjectTable)(IRunningObjectTable** pprot) = 0;
  STDMETHOD(RegisterObjectParam)(LPOLESTR pszKey, IUnknown* punk) = 0;
  STDMETHOD(GetObjectParam)(LPOLESTR pszKey, IUnknown** ppunk) = 0;
  STDMETHOD(EnumObjectParam)(IEnumString** ppenum) = 0;
  STDMETHOD(RevokeObjectParam)(LPOLESTR pszKey) = 0;

 protected:
  ~IBindCtx() = default;
};
using LPBC = IBindCtx*;

// ---- running object table

#define ROTFLAGS_REGISTRATIONKEEPSALIVE 0x1
#define ROTFLAGS_ALLOWANYCLIENT 0x2

struct IRunningObjectTable : public IUnknown {
  STDMETHOD(Register)(DWORD grfFlags, IUnknown* punkObject, IMoniker* pmkObjectName, DWORD* pdwRegister) = 0;
  STDMETHOD(Revoke)(DWORD dwRegister) = 0;
  STDMETHOD(IsRunning)(IMoniker* pmkObjectName) = 0;
  STDMETHOD(GetObject)(IMoniker* pmkObjectName, IUnknown** ppunkObject) = 0;
  STDMETHOD(NoteChangeTime)(DWORD dwRegister, FILETIME* pfiletime) = 0;
  STDMETHOD(GetTimeOfLastChange)(IMoniker* pmkObjectName, FILETIME* pfiletime) = 0;
  STDMETHOD(EnumRunning)(IEnumMoniker** ppenumMoniker) = 0;

 protected:
  ~IRunningObjectTable() = default;
};
using LPRUNNINGOBJECTTABLE = IRunningObjectTable*;
