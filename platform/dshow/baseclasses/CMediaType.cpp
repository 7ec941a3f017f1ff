#include <dshow/baseclasses/CMediaType.h>

#include <com/objbase.h>

#include <cstring>

CMediaType::CMediaType() : AM_MEDIA_TYPE{} { InitMediaType(); }

CMediaType::CMediaType(const GUID* type) : AM_MEDIA_TYPE{} {
  InitMediaType();
  majortype = *type;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& type) : AM_MEDIA_TYPE{} {
  if (FAILED(CopyMediaType(this, &type))) InitMediaType();
}

CMediaType::CMediaType(const CMediaType& type) : CMediaType(static_cast<const AM_MEDIA_TYPE&>(type)) {}

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& type) {
  Set(type);
  return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& type) {
  Set(type);
  return *this;
}

bool CMediaType::operator==(const CMediaType& other) const {
  return majortype == other.majortype && subtype == other.subtype && formattype == other.formattype &&
         cbFormat == other.cbFormat && (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const CMediaType& type) { return Set(static_cast<const AM_MEDIA_TYPE&>(type)); }

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& type) {
  if (&type == this) return S_OK;
  FreeMediaType(*this);
  const HRESULT hr = CopyMediaType(this, &type);
  return FAILED(hr) ? E_OUTOFMEMORY : S_OK;
}

void CMediaType::SetSampleSize(ULONG sz) {
  if (sz == 0) {
    SetVariableSize();
  } else {
    bFixedSizeSamples = TRUE;
    lSampleSize = sz;
  }
}

BOOL CMediaType::SetFormat(const BYTE* pformat, ULONG length) {
  if (!AllocFormatBuffer(length)) return FALSE;
  if (length) std::memcpy(pbFormat, pformat, length);
  return TRUE;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
  if (cbFormat == length && pbFormat) return pbFormat;
  BYTE* block = length ? static_cast<BYTE*>(CoTaskMemAlloc(length)) : nullptr;
  if (length && !block) return nullptr;
  if (block) std::memset(block, 0, length);
  CoTaskMemFree(pbFormat);
  pbFormat = block;
  cbFormat = length;
  return pbFormat;
}

void CMediaType::InitMediaType() {
  FreeMediaType(*this);
  *static_cast<AM_MEDIA_TYPE*>(this) = AM_MEDIA_TYPE{};
  bFixedSizeSamples = TRUE;
  lSampleSize = 1;
}

BOOL CMediaType::IsPartiallySpecified() const {
  return majortype == GUID_NULL || subtype == GUID_NULL || formattype == GUID_NULL;
}

BOOL CMediaType::MatchesPartial(const CMediaType* ppartial) const {
  if (ppartial->majortype != GUID_NULL && majortype != ppartial->majortype) return FALSE;
  if (ppartial->subtype != GUID_NULL && subtype != ppartial->subtype) return FALSE;
  if (ppartial->formattype != GUID_NULL) {
    if (formattype != ppartial->formattype) return FALSE;
    if (cbFormat != ppartial->cbFormat) return FALSE;
    if (cbFormat && std::memcmp(pbFormat, ppartial->pbFormat, cbFormat) != 0) return FALSE;
  }
  return TRUE;
}
