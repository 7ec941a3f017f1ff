// The control's property page (dialog 103): one trackbar per picture property with its
// value beside it, read from the control when the page opens and written to it as the
// user moves a trackbar; the Default button puts every property back to its default.
#pragma once

#include "QXMovie.h"

#include <atl/PropertyPageBase.h>

class CVidProp final : public plat::atl::PropertyPageBase {
 public:
  static constexpr int kDialogId = 103;
  static constexpr int kFirstTrackbar = 201;  // property i: trackbar 201 + 3i, value 203 + 3i
  static constexpr int kFirstValue = 203;
  static constexpr int kDefaultButton = 222;
  static constexpr int kProperties = 5;

  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out);

 protected:
  bool OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CVidProp();
  ~CVidProp() override;

  IMovieCtl* Control();
  void LoadProperties();
  void OnScroll(HWND trackbar);
  void SetDefaults();
  void ShowValue(int property, long value);
  void ShowError(HRESULT hr, const char* caption);
};
