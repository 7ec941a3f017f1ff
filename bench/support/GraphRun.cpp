#include "support/GraphRun.h"

#include "support/SideBySide.h"

#include <com/ComPtr.h>

namespace bench {

std::optional<Usage> RunGraphToEnd(IGraphBuilder* graph, std::chrono::seconds limit) {
  plat::ComPtr<IMediaControl> control;
  plat::ComPtr<IMediaEvent> events;
  graph->QueryInterface(IID_IMediaControl, control.putVoid());
  graph->QueryInterface(IID_IMediaEvent, events.putVoid());
  const double before = ProcessSeconds();
  const auto started = std::chrono::steady_clock::now();
  control->Run();
  long code = 0;
  const HRESULT ended =
      events->WaitForCompletion(static_cast<long>(std::chrono::milliseconds(limit).count()), &code);
  control->Stop();
  const Usage usage{std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                    ProcessSeconds() - before};
  // The completion stays queued: clear it for the next round.
  LONG_PTR p1 = 0, p2 = 0;
  while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
  }
  if (ended != S_OK) return std::nullopt;
  return usage;
}

}  // namespace bench
