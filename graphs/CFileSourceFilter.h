// The private asynchronous file source at the head of the file frame grabber. Its module
// is not named by the program: it must be registered on the machine beforehand.
#pragma once

#include "graphs/CFilterWrapper.h"

class CFileSourceFilter : public CFilterWrapper {
 public:
  explicit CFileSourceFilter(IGraphBuilder* graph);
  ~CFileSourceFilter() override;

  BOOL AddToGraph() override;
  // Opens the file as a byte stream.
  BOOL Load(LPCSTR path);
  // Readies the loaded file; a source that asks for it is replaced by a fresh one.
  BOOL Prepare();
};
