#include <dshow/engine/Pins.h>

#include <dshow/mtype.h>

namespace plat {

std::vector<ComPtr<IPin>> Pins::of(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> pins;
  ComPtr<IEnumPins> walk;
  if (!filter || FAILED(filter->EnumPins(walk.put())) || !walk) return pins;
  for (int attempt = 0; attempt < 3; ++attempt) {
    pins.clear();
    HRESULT hr = S_OK;
    for (;;) {
      IPin* pin = nullptr;
      ULONG fetched = 0;
      hr = walk->Next(1, &pin, &fetched);
      if (hr != S_OK || fetched != 1) break;
      pins.push_back(ComPtr<IPin>::adopt(pin));
    }
    if (hr != VFW_E_ENUM_OUT_OF_SYNC) break;
    walk->Reset();
  }
  return pins;
}

std::vector<ComPtr<IPin>> Pins::of(IBaseFilter* filter, PIN_DIRECTION dir) {
  std::vector<ComPtr<IPin>> pins;
  for (ComPtr<IPin>& pin : of(filter))
    if (direction(pin.get()) == dir) pins.push_back(std::move(pin));
  return pins;
}

PIN_DIRECTION Pins::direction(IPin* pin) {
  PIN_DIRECTION dir = PINDIR_INPUT;
  pin->QueryDirection(&dir);
  return dir;
}

ComPtr<IBaseFilter> Pins::filterOf(IPin* pin) {
  PIN_INFO info{};
  if (!pin || FAILED(pin->QueryPinInfo(&info))) return {};
  return ComPtr<IBaseFilter>::adopt(info.pFilter);
}

ComPtr<IPin> Pins::peer(IPin* pin) {
  IPin* other = nullptr;
  if (!pin || FAILED(pin->ConnectedTo(&other))) return {};
  return ComPtr<IPin>::adopt(other);
}

std::vector<ComPtr<IBaseFilter>> Pins::neighbours(IBaseFilter* filter, PIN_DIRECTION side) {
  std::vector<ComPtr<IBaseFilter>> found;
  for (const ComPtr<IPin>& pin : of(filter, side))
    if (ComPtr<IPin> other = peer(pin.get()))
      if (ComPtr<IBaseFilter> next = filterOf(other.get())) found.push_back(next);
  return found;
}

bool Pins::isRenderer(IBaseFilter* filter) {
  ComPtr<IAMFilterMiscFlags> flags;
  if (SUCCEEDED(filter->QueryInterface(IID_IAMFilterMiscFlags, flags.putVoid())))
    return (flags->GetMiscFlags() & AM_FILTER_MISC_FLAGS_IS_RENDERER) != 0;
  bool inputs = false;
  for (const ComPtr<IPin>& pin : of(filter)) {
    if (direction(pin.get()) == PINDIR_OUTPUT) return false;
    inputs = true;
  }
  return inputs;
}

std::vector<std::pair<GUID, GUID>> Pins::offeredTypes(IPin* pin) {
  std::vector<std::pair<GUID, GUID>> types;
  ComPtr<IEnumMediaTypes> walk;
  if (FAILED(pin->EnumMediaTypes(walk.put())) || !walk) return types;
  for (;;) {
    AM_MEDIA_TYPE* type = nullptr;
    ULONG fetched = 0;
    if (walk->Next(1, &type, &fetched) != S_OK || fetched != 1) break;
    types.emplace_back(type->majortype, type->subtype);
    DeleteMediaType(type);
  }
  return types;
}

}  // namespace plat
