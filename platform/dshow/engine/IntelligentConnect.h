// Building a graph the way IGraphBuilder does: Connect tries the two pins directly and
// then through intermediate filters; Render completes a stream to a renderer, first with
// filters already in the graph and then with catalogue filters by merit; RenderFile
// finds the file's source filter by extension (HKCR\Media Type\Extensions\.ext, value
// "Source Filter") and renders every stream it offers. Filters tried and not used are
// taken out of the graph again.
#pragma once

#include <com/ComPtr.h>
#include <dshow/baseclasses/RegisteredFilter.h>
#include <dshow/strmif.h>

namespace plat {

class FilterGraph;

class IntelligentConnect {
 public:
  explicit IntelligentConnect(FilterGraph& graph) : m_graph(graph) {}

  HRESULT connect(IPin* out, IPin* in);
  // S_OK when the stream reached a renderer; existingOnly uses filters of the graph only.
  HRESULT render(IPin* out, bool existingOnly);
  HRESULT renderFile(LPCWSTR file);
  HRESULT addSourceFilter(LPCWSTR file, LPCWSTR name, IBaseFilter** filter);

 private:
  HRESULT connectVia(IPin* out, IPin* in, int depth);
  HRESULT renderFrom(IPin* out, int depth, bool existingOnly);
  // S_OK when every output rendered, VFW_S_PARTIAL_RENDER when some did, else a failure.
  HRESULT renderOutputs(IBaseFilter* filter, int depth, bool existingOnly);
  HRESULT tryFilterForRender(IPin* out, IBaseFilter* filter, int depth, bool existingOnly);
  ComPtr<IBaseFilter> addCatalogued(const RegisteredFilter& entry);
  bool isUpstreamOf(IBaseFilter* candidate, IBaseFilter* filter);

  FilterGraph& m_graph;
};

}  // namespace plat
