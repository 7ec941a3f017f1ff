// The platform's default video renderer, the capture graph's first choice where the
// Windows version has one: a window of its own, the picture stretched to it. Created, it
// is named "Video  Renderer" (two blanks); added back later, "Video Renderer".
#pragma once

#include "graphs/CFilterWrapper.h"

class CDefaultVideoRendererFilter : public CFilterWrapper {
 public:
  explicit CDefaultVideoRendererFilter(IGraphBuilder* graph);
  ~CDefaultVideoRendererFilter() override;

  BOOL AddToGraph() override;

 private:
  void Configure();
};
