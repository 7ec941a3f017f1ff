#include "graphs/CFileFrameGrabber.h"

#include "core/data/ProgramFolder.h"
#include "graphs/CFileSourceFilter.h"
#include "graphs/CGraphBase.h"
#include "graphs/CMpeg2SplitterFilter.h"
#include "graphs/CMpegVideoDecoderFilter.h"
#include "graphs/CStillCaptureFilter.h"
#include "graphs/DeviceUtilities.h"
#include "graphs/FilterUtilities.h"

namespace {

constexpr LPCSTR kVideoDecoderModule = "Filter\\QNMpegVD.ax";
constexpr LPCSTR kStillCaptureModule = "Filter\\QNStillCap.ax";

void RegisterFromProgramFolder(LPCSTR module) {
  RegisterFilterModule(GetProgramFolder() + module);
}

// A fresh filter for a wrapper that took part in the last chain; true without a wrapper.
BOOL AddAnew(CFilterWrapper* wrapper) {
  if (!wrapper) return TRUE;
  wrapper->RemoveFromGraph();
  return wrapper->AddToGraph();
}

template <class T>
void DeleteHeld(T*& held) {
  delete held;
  held = nullptr;
}

}  // namespace

CFileFrameGrabber::CFileFrameGrabber()
    : m_pGraph(nullptr),
      m_pBuilder(nullptr),
      m_pStillCapture(nullptr),
      m_pFileSource(nullptr),
      m_pVideoDecoder(nullptr),
      m_pSplitter(nullptr) {}

CFileFrameGrabber::~CFileFrameGrabber() {
  ClearFilters();
  if (m_pBuilder) m_pBuilder->Release();
  delete m_pGraph;
}

BOOL CFileFrameGrabber::CreateGraph() {
  if (m_pGraph) return FALSE;
  m_pGraph = new CGraphBase;
  if (!m_pGraph->Create()) {
    DeleteHeld(m_pGraph);
    return FALSE;
  }
  if (FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&m_pBuilder)))) {
    m_pBuilder = nullptr;
    return FALSE;
  }
  return SUCCEEDED(m_pBuilder->SetFiltergraph(m_pGraph->GetGraph()));
}

void CFileFrameGrabber::ClearFilters() {
  if (m_pGraph) m_pGraph->Stop();
  DeleteHeld(m_pFileSource);
  DeleteHeld(m_pVideoDecoder);
  DeleteHeld(m_pSplitter);
  DeleteHeld(m_pStillCapture);
}

BOOL CFileFrameGrabber::AddFilters() {
  ClearFilters();
  if (!m_pGraph) return FALSE;
  IGraphBuilder* graph = m_pGraph->GetGraph();
  m_pFileSource = new CFileSourceFilter(graph);
  if (!m_pFileSource->AddToGraph()) return FALSE;
  m_pVideoDecoder = new CMpegVideoDecoderFilter(graph);
  if (!m_pVideoDecoder->Create(0)) {
    RegisterFromProgramFolder(kVideoDecoderModule);
    if (!m_pVideoDecoder->Create(0)) return FALSE;
  }
  m_pSplitter = new CMpeg2SplitterFilter(graph);
  if (!m_pSplitter->AddToGraph()) return FALSE;
  m_pStillCapture = new CStillCaptureFilter(graph);
  if (!m_pStillCapture->AddToGraph()) {
    RegisterFromProgramFolder(kStillCaptureModule);
    if (!m_pStillCapture->AddToGraph()) return FALSE;
  }
  return TRUE;
}

BOOL CFileFrameGrabber::SetSourceFile(LPCSTR path) {
  if (!path || !*path || !m_pFileSource) return FALSE;
  return m_pFileSource->Load(path);
}

BOOL CFileFrameGrabber::SetStillFileName(LPCSTR path) {
  if (!path || !*path || !m_pStillCapture) return FALSE;
  return m_pStillCapture->SetFileName(path);
}

BOOL CFileFrameGrabber::IsSourceLoaded() { return m_pFileSource && m_pFileSource->Prepare(); }

BOOL CFileFrameGrabber::ConnectFilters() {
  // The decoder and the still capture may be missing too, after a failed AddFilters.
  if (!m_pFileSource || !m_pSplitter || !m_pVideoDecoder || !m_pStillCapture || !m_pGraph) return FALSE;
  // The filters keep their pins alive, so none of these is counted.
  return m_pGraph->ConnectDirect(m_pFileSource->FindPin(FALSE, nullptr), m_pSplitter->FindPin(TRUE, nullptr),
                                 nullptr) &&
         m_pGraph->ConnectDirect(m_pSplitter->GetVideoOutputPin(), m_pVideoDecoder->FindPin(TRUE, nullptr), nullptr) &&
         m_pGraph->ConnectDirect(m_pVideoDecoder->FindPin(FALSE, nullptr), m_pStillCapture->FindPin(TRUE, nullptr),
                                 nullptr);
}

BOOL CFileFrameGrabber::Run() { return m_pGraph && m_pGraph->Run(); }

BOOL CFileFrameGrabber::Stop() { return m_pGraph && m_pGraph->Stop(); }

BOOL CFileFrameGrabber::ClearGraph() {
  if (m_pGraph && m_pVideoDecoder) {
    IGraphBuilder* graph = m_pGraph->GetGraph();
    RemoveDownstream(graph, m_pVideoDecoder->GetFilter());
    RemoveUpstream(graph, m_pVideoDecoder->GetFilter());
  }
  const BOOL splitter = AddAnew(m_pSplitter);
  // The clearing took the source and the still capture out with the splitter, and the
  // next file is connected through both, so they come back too, fresh. One that cannot
  // be made shows at the next file's own steps.
  AddAnew(m_pFileSource);
  AddAnew(m_pStillCapture);
  return splitter;
}

BOOL CFileFrameGrabber::RenderFile(LPCSTR path) {
  if (!path || !*path || !m_pGraph) return FALSE;
  return m_pGraph->RenderFile(path);
}

BOOL CFileFrameGrabber::AddDecoder() {
  if (!m_pSplitter || !m_pVideoDecoder || !m_pStillCapture) return FALSE;
  if (!m_pSplitter->AddToGraph() || !m_pVideoDecoder->Create(0)) return FALSE;
  m_pVideoDecoder->SetOption(0);
  return m_pStillCapture->AddToGraph();
}

void CFileFrameGrabber::RemoveStillCapture() {
  if (m_pStillCapture) m_pStillCapture->RemoveFromGraph();
}

BOOL CFileFrameGrabber::AddSource() { return m_pFileSource && m_pFileSource->AddToGraph(); }

BOOL CFileFrameGrabber::ConnectSplitter() {
  if (!m_pGraph || !m_pVideoDecoder) return FALSE;
  IGraphBuilder* graph = m_pGraph->GetGraph();
  IBaseFilter* parser = nullptr;
  if (FindFilterByClsid(graph, CLSID_MPEG2Demultiplexer, &parser) ||
      FindFilterByClsid(graph, CLSID_MPEG2Splitter, &parser)) {
    DisconnectDownstream(graph, parser);
    DisconnectUpstream(graph, parser);
    graph->RemoveFilter(parser);
    parser->Release();
  } else {
    DisconnectDownstream(graph, m_pVideoDecoder->GetFilter());
    DisconnectUpstream(graph, m_pVideoDecoder->GetFilter());
    m_pVideoDecoder->RemoveFromGraph();
  }
  return TRUE;
}
