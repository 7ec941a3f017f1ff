// An AM_MEDIA_TYPE that owns its format block: copying copies the block, destruction
// frees it. Pins keep their connection type (m_mt) as one, and a CMediaType* may be
// passed wherever a const AM_MEDIA_TYPE* is expected.
#pragma once

#include <dshow/mtype.h>

class CMediaType : public AM_MEDIA_TYPE {
 public:
  CMediaType();
  explicit CMediaType(const GUID* majortype);
  CMediaType(const AM_MEDIA_TYPE& type);  // NOLINT(google-explicit-constructor): a copy, as on Windows
  CMediaType(const CMediaType& type);
  ~CMediaType();

  CMediaType& operator=(const AM_MEDIA_TYPE& type);
  CMediaType& operator=(const CMediaType& type);
  // Equal types: same major, sub and format type and the same format bytes.
  bool operator==(const CMediaType& other) const;
  bool operator!=(const CMediaType& other) const { return !(*this == other); }

  HRESULT Set(const CMediaType& type);
  HRESULT Set(const AM_MEDIA_TYPE& type);
  BOOL IsValid() const { return majortype != GUID_NULL; }

  const GUID* Type() const { return &majortype; }
  void SetType(const GUID* ptype) { majortype = *ptype; }
  const GUID* Subtype() const { return &subtype; }
  void SetSubtype(const GUID* ptype) { subtype = *ptype; }
  const GUID* FormatType() const { return &formattype; }
  void SetFormatType(const GUID* pformattype) { formattype = *pformattype; }
  BOOL IsFixedSize() const { return bFixedSizeSamples; }
  BOOL IsTemporalCompressed() const { return bTemporalCompression; }
  ULONG GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }
  void SetSampleSize(ULONG sz);
  void SetVariableSize() { bFixedSizeSamples = FALSE; }
  void SetTemporalCompression(BOOL bCompressed) { bTemporalCompression = bCompressed; }

  ULONG FormatLength() const { return cbFormat; }
  BYTE* Format() const { return pbFormat; }
  BOOL SetFormat(const BYTE* pFormat, ULONG length);
  // A zeroed block of `length` bytes, or null when out of memory.
  BYTE* AllocFormatBuffer(ULONG length);
  void InitMediaType();

  // GUID_NULL in the major or sub type (or a null format type) leaves the type open.
  BOOL IsPartiallySpecified() const;
  // True when every specified part of `ppartial` equals this type's.
  BOOL MatchesPartial(const CMediaType* ppartial) const;
};
