#include <dshow/engine/DeviceCatalog.h>
#include <dshow/filters/AlawCompressor.h>
#include <dshow/filters/MjpegCompressor.h>

#include <dshow/AnsiText.h>
#include <dshow/baseclasses/FilterRegistration.h>
#include <dshow/uuids.h>
#include <machine/CaptureAudio.h>
#include <machine/CaptureCard.h>
#include <machine/Machine.h>
#include <machine/TvStickCapture.h>

namespace plat {

std::vector<DeviceCatalog::Device> DeviceCatalog::devices(REFCLSID category) {
  std::vector<Device> found;
  Machine& machine = Machine::current();
  TvStickCapture& stick = machine.service<TvStickCapture>();
  const std::wstring stickName = AnsiText::toWide(stick.friendlyName());
  const std::wstring stickPath = AnsiText::toWide(stick.devicePath());
  const bool plugged = stick.present();
  if (category == CLSID_VideoInputDeviceCategory || category == AM_KSCATEGORY_CAPTURE) {
    if (plugged) found.push_back({stickName, stickPath, CLSID_TvStickCapture});
    const CaptureCard& card = machine.service<CaptureCard>();
    if (card.present())
      found.push_back({AnsiText::toWide(card.friendlyName()), AnsiText::toWide(card.devicePath()), CLSID_CaptureCardCapture});
    if (category == CLSID_VideoInputDeviceCategory) return found;
  }
  if (category == AM_KSCATEGORY_CROSSBAR) {
    if (plugged) found.push_back({stickName + L" Crossbar", stickPath, CLSID_TvStickCrossbar});
    return found;
  }
  if (category == AM_KSCATEGORY_TVTUNER) {
    if (plugged) found.push_back({stickName + L" TvTuner", stickPath, CLSID_TvStickTuner});
    return found;
  }
  if (category == CLSID_AudioInputDeviceCategory || category == AM_KSCATEGORY_CAPTURE) {
    found.push_back({AnsiText::toWide(machine.service<CaptureAudio>().name()), L"", CLSID_AudioCapture});
    return found;
  }
  if (category == CLSID_AudioRendererCategory) found.push_back({L"Default DirectSound Device", L"", CLSID_DSoundRender});
  // The platform's own compressors come first, before those modules registered.
  if (category == CLSID_VideoCompressorCategory) found.push_back({MjpegCompressor::kName, L"", CLSID_MjpegCompressor});
  if (category == CLSID_AudioCompressorCategory) found.push_back({AlawCompressor::kName, L"", CLSID_AlawCompressor});
  for (const RegisteredFilter& filter : FilterRegistration::filtersIn(category)) found.push_back({filter.name, L"", filter.clsid});
  return found;
}

}  // namespace plat
