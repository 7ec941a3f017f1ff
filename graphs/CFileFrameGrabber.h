// One still picture of a media file written to a picture file, for the thumbnails of
// recordings. The grabber owns a small graph of its own, apart from the capture graphs:
// the private file source, the MPEG-2 splitter, the Filter folder's MPEG video decoder
// and its still capture filter, which writes the picture it receives to the file named.
//
// The thumbnail list builds the filters once (CreateGraph, AddFilters), then for each
// file: SetSourceFile, SetStillFileName, IsSourceLoaded, ConnectFilters, Run; the picture
// is written while the graph runs; then Stop and ClearGraph. Files the direct chain cannot
// take go through RenderFile and the re-adding operations instead. Every operation
// answers false on failure and leaves what it already added in the graph; nothing is shown.
#pragma once

#include <dshow/dshow.h>

class CGraphBase;
class CFileSourceFilter;
class CMpeg2SplitterFilter;
class CMpegVideoDecoderFilter;
class CStillCaptureFilter;

class CFileFrameGrabber {
 public:
  CFileFrameGrabber();
  virtual ~CFileFrameGrabber();
  CFileFrameGrabber(const CFileFrameGrabber&) = delete;
  CFileFrameGrabber& operator=(const CFileFrameGrabber&) = delete;

  // The graph and a capture graph builder over it; false when a graph is already held.
  BOOL CreateGraph();
  // Makes the four filters anew in the graph; the decoder's and the still capture's
  // modules are registered from the program folder when their filters cannot be made.
  BOOL AddFilters();

  BOOL SetSourceFile(LPCSTR path);
  BOOL SetStillFileName(LPCSTR path);
  BOOL IsSourceLoaded();
  // Source to splitter, the splitter's video to the decoder, the decoder to the still
  // capture; stops at the first connection refused.
  BOOL ConnectFilters();
  BOOL Run();
  BOOL Stop();
  // Breaks the chain around the decoder so the next file can be connected.
  BOOL ClearGraph();

  // The rendered variant.
  BOOL RenderFile(LPCSTR path);
  BOOL AddDecoder();
  void RemoveStillCapture();
  BOOL AddSource();
  // Takes the graph's demultiplexer (or else its splitter) out, disconnected; without
  // either, the decoder.
  BOOL ConnectSplitter();

  CGraphBase* GetGraph() const { return m_pGraph; }

 private:
  // Stops the graph and deletes the four wrappers, which takes their filters out.
  void ClearFilters();

  CGraphBase* m_pGraph;
  ICaptureGraphBuilder2* m_pBuilder;
  CStillCaptureFilter* m_pStillCapture;
  CFileSourceFilter* m_pFileSource;
  CMpegVideoDecoderFilter* m_pVideoDecoder;
  CMpeg2SplitterFilter* m_pSplitter;
};
