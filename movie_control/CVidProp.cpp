#include "CVidProp.h"

#include "CKinovarModule.h"

#include <com/ComPtr.h>
#include <dshow/errors.h>
#include <win32/error.h>
#include <win32/user.h>

#include <cstdio>
#include <new>

namespace {

const char* const kCaptions[CVidProp::kProperties] = {"Brightness", "contrast", "hue", "saturation", "sharpness"};
constexpr long kManual = 2;
constexpr SIZE kPageSize{320, 230};

}  // namespace

CVidProp::CVidProp() : PropertyPageBase(CKinovarModule::Server().instance(), kDialogId, "Video", kPageSize) {
  CKinovarModule::Server().objectCreated();
}

CVidProp::~CVidProp() { CKinovarModule::Server().objectDestroyed(); }

HRESULT CVidProp::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* page = new (std::nothrow) CVidProp();
  if (!page) return E_OUTOFMEMORY;
  const HRESULT hr = page->QueryInterface(iid, out);
  page->Release();
  return hr;
}

IMovieCtl* CVidProp::Control() {
  for (const auto& object : objects()) {
    IMovieCtl* control = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IMovieCtl, reinterpret_cast<void**>(&control)))) {
      control->Release();  // the page holds the object itself
      return control;
    }
  }
  return nullptr;
}

bool CVidProp::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      LoadProperties();
      return true;
    case WM_HSCROLL:
      OnScroll(reinterpret_cast<HWND>(lParam));
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) != kDefaultButton || HIWORD(wParam) != BN_CLICKED) return false;
      SetDefaults();
      return true;
    default:
      return false;
  }
}

void CVidProp::LoadProperties() {
  IMovieCtl* control = Control();
  if (!control) return;
  for (int i = 0; i < kProperties; ++i) {
    long minimum = 0, maximum = 0, step = 0, def = 0, caps = 0, value = 0, flags = 0;
    HRESULT hr = control->GetVideoRange(i, &minimum, &maximum, &step, &def, &caps);
    if (FAILED(hr)) {
      ShowError(hr, kCaptions[i]);
      continue;
    }
    // Whole values: a range below zero or past 32767 does not fit TBM_SETRANGE's words.
    HWND trackbar = GetDlgItem(dialog(), kFirstTrackbar + 3 * i);
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, maximum);
    hr = control->GetVideoProperty(i, &value, &flags);
    if (FAILED(hr)) {
      ShowError(hr, kCaptions[i]);
      continue;
    }
    SendMessageA(trackbar, TBM_SETPOS, TRUE, value);
    ShowValue(i, value);
  }
}

void CVidProp::OnScroll(HWND trackbar) {
  IMovieCtl* control = Control();
  const int id = GetDlgCtrlID(trackbar);
  const int i = (id - kFirstTrackbar) / 3;
  if (!control || i < 0 || i >= kProperties || id != kFirstTrackbar + 3 * i) return;
  const long position = static_cast<long>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
  ShowValue(i, position);
  control->SetVideoProperty(i, position, kManual);
}

void CVidProp::SetDefaults() {
  IMovieCtl* control = Control();
  if (!control) return;
  for (int i = 0; i < kProperties; ++i) {
    long minimum = 0, maximum = 0, step = 0, def = 0, caps = 0;
    HRESULT hr = control->GetVideoRange(i, &minimum, &maximum, &step, &def, &caps);
    // The default goes in with the flags the property offers.
    if (SUCCEEDED(hr)) hr = control->SetVideoProperty(i, def, caps);
    if (FAILED(hr)) {
      ShowError(hr, "CVidProp::SetDefaultVideoProperty");
      continue;
    }
    SendMessageA(GetDlgItem(dialog(), kFirstTrackbar + 3 * i), TBM_SETPOS, TRUE, def);
    ShowValue(i, def);
  }
}

void CVidProp::ShowValue(int property, long value) {
  char text[32];
  std::snprintf(text, sizeof text, "%01ld\n", value);
  if (!SetDlgItemTextA(dialog(), kFirstValue + 3 * property, text)) {
    char error[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, error,
                   sizeof error, nullptr);
    MessageBoxA(dialog(), error, "SetWindowText", MB_OK);
  }
}

void CVidProp::ShowError(HRESULT hr, const char* caption) {
  char text[256];
  if (AMGetErrorTextA(hr, text, sizeof text) == 0) std::snprintf(text, sizeof text, "Unknown Error: 0x%2x", static_cast<unsigned>(hr));
  MessageBoxA(dialog(), text, caption, MB_OK);
}
