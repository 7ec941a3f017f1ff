// VARIANT ownership (clear, copy) and conversion between the types the platform holds.
#include <com/oleauto.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string>
#include <type_traits>

namespace {

bool isScalar(VARTYPE vt) {
  switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_UI1:
      return true;
    default:
      return false;
  }
}

bool isKnown(VARTYPE vt) { return isScalar(vt) || vt == VT_EMPTY || vt == VT_NULL || vt == VT_BSTR || vt == VT_UNKNOWN; }

double scalarValue(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_I4: return v.lVal;
    case VT_R4: return v.fltVal;
    case VT_R8: return v.dblVal;
    case VT_BOOL: return v.boolVal ? -1 : 0;
    case VT_UI1: return v.bVal;
    default: return 0;
  }
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return true;
}

// A number written in a string, surrounding blanks allowed; "True"/"False" too when reading a VT_BOOL.
std::optional<double> parseNumber(BSTR text, VARTYPE target) {
  std::wstring s(text ? text : L"", SysStringLen(text));
  std::size_t first = s.find_first_not_of(L" \t");
  std::size_t last = s.find_last_not_of(L" \t");
  if (first == std::wstring::npos) return std::nullopt;
  s = s.substr(first, last - first + 1);
  if (target == VT_BOOL) {
    if (equalsNoCase(s, L"true")) return -1.0;
    if (equalsNoCase(s, L"false")) return 0.0;
  }
  wchar_t* end = nullptr;
  double value = std::wcstod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

HRESULT storeScalar(double value, VARTYPE vt, VARIANT& out) {
  auto whole = [&](double lo, double hi, auto& field) {
    double rounded = std::nearbyint(value);  // half to even, as Windows rounds
    if (rounded < lo || rounded > hi) return DISP_E_OVERFLOW;
    field = static_cast<std::remove_reference_t<decltype(field)>>(rounded);
    return S_OK;
  };
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_I2: hr = whole(-32768, 32767, out.iVal); break;
    case VT_I4: hr = whole(-2147483648.0, 2147483647.0, out.lVal); break;
    case VT_UI1: hr = whole(0, 255, out.bVal); break;
    case VT_R4:
      if (std::fabs(value) > 3.402823466e38) return DISP_E_OVERFLOW;
      out.fltVal = static_cast<FLOAT>(value);
      break;
    case VT_R8: out.dblVal = value; break;
    case VT_BOOL: out.boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: return DISP_E_TYPEMISMATCH;
  }
  if (SUCCEEDED(hr)) out.vt = vt;
  return hr;
}

HRESULT storeText(const VARIANT& src, USHORT flags, VARIANT& out) {
  wchar_t text[64];
  switch (src.vt) {
    case VT_R4: std::swprintf(text, 64, L"%.7G", static_cast<double>(src.fltVal)); break;
    case VT_R8: std::swprintf(text, 64, L"%.15G", src.dblVal); break;
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL) {
        std::swprintf(text, 64, L"%ls", src.boolVal ? L"True" : L"False");
        break;
      }
      [[fallthrough]];
    default: std::swprintf(text, 64, L"%.0f", scalarValue(src)); break;
  }
  out.bstrVal = SysAllocString(text);
  if (!out.bstrVal) return E_OUTOFMEMORY;
  out.vt = VT_BSTR;
  return S_OK;
}

HRESULT convert(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT& out) {
  if (src.vt == vt) return VariantCopy(&out, &src);
  if (src.vt == VT_EMPTY) {
    if (vt != VT_BSTR) return storeScalar(0, vt, out);
    out.bstrVal = SysAllocString(L"");
    if (!out.bstrVal) return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    return S_OK;
  }
  if (isScalar(src.vt) && isScalar(vt)) return storeScalar(scalarValue(src), vt, out);
  if (isScalar(src.vt) && vt == VT_BSTR) return storeText(src, flags, out);
  if (src.vt == VT_BSTR && isScalar(vt)) {
    std::optional<double> value = parseNumber(src.bstrVal, vt);
    return value ? storeScalar(*value, vt, out) : DISP_E_TYPEMISMATCH;
  }
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

void VariantInit(VARIANTARG* pvarg) {
  if (pvarg) pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (!isKnown(pvarg->vt)) return DISP_E_BADVARTYPE;
  if (pvarg->vt == VT_BSTR) SysFreeString(pvarg->bstrVal);
  if (pvarg->vt == VT_UNKNOWN && pvarg->punkVal) pvarg->punkVal->Release();
  pvarg->vt = VT_EMPTY;
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (!isKnown(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  if (pvargDest == pvargSrc) return S_OK;
  if (HRESULT hr = VariantClear(pvargDest); FAILED(hr)) return hr;
  *pvargDest = *pvargSrc;
  if (pvargSrc->vt == VT_BSTR && pvargSrc->bstrVal) {
    // By bytes, so embedded NULs survive.
    pvargDest->bstrVal =
        SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal), SysStringByteLen(pvargSrc->bstrVal));
    if (!pvargDest->bstrVal) {
      pvargDest->vt = VT_EMPTY;
      return E_OUTOFMEMORY;
    }
  }
  if (pvargSrc->vt == VT_UNKNOWN && pvargSrc->punkVal) pvargSrc->punkVal->AddRef();
  return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if (!isKnown(pvarSrc->vt) || !isKnown(vt)) return DISP_E_BADVARTYPE;
  VARIANT result;
  VariantInit(&result);
  if (HRESULT hr = convert(*pvarSrc, wFlags, vt, result); FAILED(hr)) return hr;
  // Built aside first: the destination may be the source.
  if (HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}
