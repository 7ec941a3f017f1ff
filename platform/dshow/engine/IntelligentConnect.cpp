#include <dshow/engine/IntelligentConnect.h>

#include <com/GuidText.h>
#include <com/objbase.h>
#include <dshow/AnsiText.h>
#include <dshow/baseclasses/setup.h>
#include <dshow/engine/FilterCatalog.h>
#include <dshow/engine/FilterGraph.h>
#include <dshow/engine/Pins.h>
#include <dshow/mediafiles.h>
#include <machine/Machine.h>
#include <win32/registry.h>

#include <filesystem>

namespace plat {

namespace {

constexpr int kMaxDepth = 5;

bool offersAny(const RegisteredFilter& entry, const std::vector<std::pair<GUID, GUID>>& types) {
  if (types.empty()) return entry.acceptsInput(GUID_NULL, GUID_NULL);
  for (const auto& [major, sub] : types)
    if (entry.acceptsInput(major, sub)) return true;
  return false;
}

// The CLSID of the source filter registered for the file's extension.
bool sourceFilterFor(const std::wstring& file, CLSID& clsid) {
  const std::string extension = std::filesystem::path(AnsiText::fromWide(file)).extension().string();
  if (extension.empty()) return false;
  HKEY key = nullptr;
  const std::string path = "Media Type\\Extensions\\" + extension;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char text[64] = {};
  DWORD size = sizeof(text) - 1;
  DWORD type = 0;
  const bool read = RegQueryValueExA(key, "Source Filter", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
  RegCloseKey(key);
  return read && GuidText::parse(std::string_view(text), clsid);
}

// True when the byte stream's bytes were recognised: its pin names a subtype.
bool recognisedStream(IBaseFilter* source) {
  for (const ComPtr<IPin>& pin : Pins::of(source, PINDIR_OUTPUT))
    for (const auto& [major, sub] : Pins::offeredTypes(pin.get()))
      if (sub != GUID_NULL) return true;
  return false;
}

}  // namespace

ComPtr<IBaseFilter> IntelligentConnect::addCatalogued(const RegisteredFilter& entry) {
  ComPtr<IBaseFilter> filter;
  if (FAILED(CoCreateInstance(entry.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()))) return {};
  if (FAILED(m_graph.AddFilter(filter.get(), entry.name.c_str()))) return {};
  return filter;
}

bool IntelligentConnect::isUpstreamOf(IBaseFilter* candidate, IBaseFilter* filter) {
  if (candidate == filter) return true;
  for (const ComPtr<IBaseFilter>& up : Pins::neighbours(filter, PINDIR_INPUT))
    if (isUpstreamOf(candidate, up.get())) return true;
  return false;
}

HRESULT IntelligentConnect::connect(IPin* out, IPin* in) {
  CheckPointer(out, E_POINTER);
  CheckPointer(in, E_POINTER);
  return connectVia(out, in, 0);
}

HRESULT IntelligentConnect::connectVia(IPin* out, IPin* in, int depth) {
  HRESULT hr = m_graph.ConnectDirect(out, in, nullptr);
  if (SUCCEEDED(hr) || depth >= kMaxDepth) return hr;
  const HRESULT direct = hr;
  const auto types = Pins::offeredTypes(out);
  for (const RegisteredFilter& entry : FilterCatalog::candidates()) {
    if (!entry.hasOutputs() || !offersAny(entry, types)) continue;
    ComPtr<IBaseFilter> middle = addCatalogued(entry);
    if (!middle) continue;
    for (const ComPtr<IPin>& middleIn : Pins::of(middle.get(), PINDIR_INPUT)) {
      if (FAILED(m_graph.ConnectDirect(out, middleIn.get(), nullptr))) continue;
      // Outputs may appear once the input knows its type: list them now.
      for (const ComPtr<IPin>& middleOut : Pins::of(middle.get(), PINDIR_OUTPUT))
        if (SUCCEEDED(connectVia(middleOut.get(), in, depth + 1))) return S_OK;
      break;
    }
    m_graph.RemoveFilter(middle.get());
  }
  return direct == VFW_E_NOT_IN_GRAPH || direct == VFW_E_ALREADY_CONNECTED || direct == VFW_E_INVALID_DIRECTION
             ? direct
             : VFW_E_CANNOT_CONNECT;
}

HRESULT IntelligentConnect::render(IPin* out, bool existingOnly) {
  CheckPointer(out, E_POINTER);
  if (Pins::direction(out) != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  if (Pins::peer(out)) return VFW_E_ALREADY_CONNECTED;
  ComPtr<IBaseFilter> owner = Pins::filterOf(out);
  if (!owner || !m_graph.contains(owner.get())) return VFW_E_NOT_IN_GRAPH;
  return renderFrom(out, 0, existingOnly);
}

HRESULT IntelligentConnect::tryFilterForRender(IPin* out, IBaseFilter* filter, int depth, bool existingOnly) {
  for (const ComPtr<IPin>& in : Pins::of(filter, PINDIR_INPUT)) {
    if (Pins::peer(in.get())) continue;
    if (FAILED(m_graph.ConnectDirect(out, in.get(), nullptr))) continue;
    const HRESULT hr = renderOutputs(filter, depth + 1, existingOnly);
    if (SUCCEEDED(hr)) return hr;
    m_graph.Disconnect(out);
    m_graph.Disconnect(in.get());
    return hr;
  }
  return VFW_E_CANNOT_CONNECT;
}

HRESULT IntelligentConnect::renderFrom(IPin* out, int depth, bool existingOnly) {
  if (depth > kMaxDepth) return VFW_E_CANNOT_RENDER;
  ComPtr<IBaseFilter> owner = Pins::filterOf(out);
  // Filters already in the graph first.
  for (const ComPtr<IBaseFilter>& filter : m_graph.filters()) {
    if (isUpstreamOf(filter.get(), owner.get())) continue;
    const HRESULT hr = tryFilterForRender(out, filter.get(), depth, existingOnly);
    if (SUCCEEDED(hr)) return hr;
  }
  if (existingOnly) return VFW_E_CANNOT_RENDER;
  const auto types = Pins::offeredTypes(out);
  for (const RegisteredFilter& entry : FilterCatalog::candidates()) {
    if (!offersAny(entry, types)) continue;
    ComPtr<IBaseFilter> filter = addCatalogued(entry);
    if (!filter) continue;
    const HRESULT hr = tryFilterForRender(out, filter.get(), depth, existingOnly);
    if (SUCCEEDED(hr)) return hr;
    m_graph.RemoveFilter(filter.get());
  }
  return VFW_E_CANNOT_RENDER;
}

HRESULT IntelligentConnect::renderOutputs(IBaseFilter* filter, int depth, bool existingOnly) {
  const auto outputs = Pins::of(filter, PINDIR_OUTPUT);
  if (outputs.empty()) return S_OK;  // a renderer: the stream ends here
  int rendered = 0;
  int tried = 0;
  for (const ComPtr<IPin>& pin : outputs) {
    if (Pins::peer(pin.get())) continue;
    ++tried;
    if (SUCCEEDED(renderFrom(pin.get(), depth, existingOnly))) ++rendered;
  }
  if (tried == 0 || rendered == tried) return S_OK;
  return rendered > 0 ? VFW_S_PARTIAL_RENDER : VFW_E_CANNOT_RENDER;
}

HRESULT IntelligentConnect::addSourceFilter(LPCWSTR file, LPCWSTR name, IBaseFilter** out) {
  CheckPointer(file, E_POINTER);
  CheckPointer(out, E_POINTER);
  *out = nullptr;
  const std::wstring path(file);
  const auto linuxPath = Machine::current().paths().toLinux(AnsiText::fromWide(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(linuxPath, ec)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  // Files of no registered extension are read as byte streams, for a parser to take.
  CLSID clsid = CLSID_AsyncReader;
  const bool byExtension = sourceFilterFor(path, clsid);
  ComPtr<IBaseFilter> source;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, source.putVoid())))
    return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
  ComPtr<IFileSourceFilter> loader;
  if (FAILED(source->QueryInterface(IID_IFileSourceFilter, loader.putVoid()))) return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
  HRESULT hr = m_graph.AddFilter(source.get(), name ? name : file);
  if (FAILED(hr)) return hr;
  hr = loader->Load(file, nullptr);
  if (SUCCEEDED(hr) && !byExtension && !recognisedStream(source.get())) hr = VFW_E_UNSUPPORTED_STREAM;
  if (FAILED(hr)) {
    m_graph.RemoveFilter(source.get());
    return hr;
  }
  *out = source.detach();
  return S_OK;
}

HRESULT IntelligentConnect::renderFile(LPCWSTR file) {
  IBaseFilter* raw = nullptr;
  HRESULT hr = addSourceFilter(file, nullptr, &raw);
  if (FAILED(hr)) return hr;
  ComPtr<IBaseFilter> source = ComPtr<IBaseFilter>::adopt(raw);
  hr = renderOutputs(source.get(), 0, false);
  if (FAILED(hr)) m_graph.RemoveFilter(source.get());
  return hr;
}

}  // namespace plat
