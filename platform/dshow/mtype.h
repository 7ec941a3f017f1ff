// Helpers for AM_MEDIA_TYPE records: a format block is allocated with CoTaskMemAlloc and
// belongs to the record; a record handed out by an enumerator or a stream configuration
// is itself task memory and is released with DeleteMediaType.
#pragma once

#include <dshow/strmif.h>

// Frees the format block and the pUnk reference, leaving the record empty.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Frees the record and everything it holds (null is allowed).
void DeleteMediaType(AM_MEDIA_TYPE* pmt);
// A deep copy into an empty record; E_OUTOFMEMORY leaves the target without a format.
HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource);
// A new task-memory record holding a deep copy, or null.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc);
