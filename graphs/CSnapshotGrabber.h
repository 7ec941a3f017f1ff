// The image grabber of the preview graph's video path ("Talvik_Image Grabber", module
// "Filter\QXM_ImageGrabber.ax"): takes the current picture from the filter, converts it
// from packed 4:2:2 (Y0 U Y1 V) to 24-bit RGB, and hands it out or writes it as the next
// bitmap file "capNN.bmp" of a folder. A picture is used only when its size matches its
// width and height, so a grabber connected with another format yields nothing.
#pragma once

#include "graphs/CFilterWrapper.h"

#include <mfc/CStringArray.h>
#include <vendor/image_grabber/QxmImageGrabber.h>

#include <memory>
#include <vector>

class CSnapshotGrabber : public CFilterWrapper {
 public:
  // Full-resolution luma with chroma at half width and half height.
  struct Planes {
    std::vector<BYTE> y;
    std::vector<BYTE> u;
    std::vector<BYTE> v;
  };

  explicit CSnapshotGrabber(IGraphBuilder* graph);
  ~CSnapshotGrabber() override;

  BOOL AddToGraph() override;
  void RemoveFromGraph() override;
  // Forgets the names of the last naming pass and takes the filter out.
  void Remove();

  // Forwarders to the grabber's interface; FALSE (or E_FAIL) without it.
  BOOL GetFrameBufferSize(long* size);
  // S_OK, E_FAIL, or QXM_GRAB_NO_NEW_FRAME when no picture passed since the graph started.
  HRESULT CopyFrame(BYTE* buffer, long size);
  BOOL GetFrameWidth(long* width);
  BOOL GetFrameHeight(long* height);

  // The current picture as 24-bit BGR rows of 3 x width bytes, bottom row first; null
  // when there is none. `width` and `height` (optional) receive its size.
  std::unique_ptr<BYTE[]> GrabFrame(long* width = nullptr, long* height = nullptr);
  // Writes the current picture into `folder` (ending in a backslash) as its next
  // "capNN.bmp". FALSE when there is no picture or the file cannot be written. The
  // extra value is the caller's and is not used.
  BOOL SaveSnapshot(LPCSTR folder, int extra);

  // Packed 4:2:2 of an even width and height to planes: chroma from the first row of
  // each pair of rows.
  static Planes SplitPlanes(const BYTE* packed, int width, int height);
  // Planes to 24-bit BGR, rows bottom first without padding; null when out of memory.
  static std::unique_ptr<BYTE[]> PlanesToRgb(const BYTE* y, const BYTE* u, const BYTE* v, int width, int height);

 private:
  // The picture converted, when the packed size matches its width and height.
  std::unique_ptr<BYTE[]> ConvertFrame(const std::vector<BYTE>& packed, long& width, long& height);
  BOOL WriteBmpFile(LPCSTR folder, const BYTE* rgb, long width, long height);

  CStringArray m_names;
  IQxmImageGrabber* m_pGrabber;
};
