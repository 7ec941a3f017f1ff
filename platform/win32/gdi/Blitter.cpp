#include <win32/gdi/Blitter.h>

#include <win32/gdi/RasterOp.h>
#include <win32/gdi/Resampler.h>
#include <win32/gdi/RowKernels.h>

#include <algorithm>
#include <vector>

namespace plat {

namespace {

// Source pixels as the destination sees them.
void convertSource(Pixel* s, int count, bool sourceMono, bool destMono, Pixel sourceBk, Pixel destText,
                   Pixel destBk) {
  if (sourceMono && !destMono) {
    for (int i = 0; i < count; ++i) s[i] = s[i] == kBlackPixel ? destText : destBk;
  } else if (!sourceMono && destMono) {
    for (int i = 0; i < count; ++i) s[i] = s[i] == sourceBk ? kWhitePixel : kBlackPixel;
  }
}

// When source and destination share a surface, a copy of the source's area, so that
// pixels written early are not read again.
std::optional<Surface> snapshotIfShared(const DrawingContext& dst, const RECT& device, const Blitter::Source& source,
                                        int& sx, int& sy) {
  if (&source.surface != &dst.surface()) return std::nullopt;
  const int w = device.right - device.left;
  const int h = device.bottom - device.top;
  Surface copy(w, h, source.surface.format());
  std::vector<Pixel> line(static_cast<std::size_t>(w));
  for (int y = 0; y < h; ++y) {
    const int from = source.y + y;
    if (from < 0 || from >= source.surface.height()) continue;
    const int x0 = std::max(0, -source.x);
    const int x1 = std::min(w, source.surface.width() - source.x);
    if (x0 >= x1) continue;
    source.surface.readSpan(source.x + x0, from, x1 - x0, line.data());
    copy.writeSpan(x0, y, x1 - x0, line.data());
  }
  sx = 0;
  sy = 0;
  return copy;
}

template <class RowFn>
void forEachRow(DrawingContext& dst, const RECT& device, const Blitter::Source* source, RowFn&& row) {
  const POINT origin = dst.origin();
  int sx = source ? source->x : 0;
  int sy = source ? source->y : 0;
  std::optional<Surface> snapshot;
  if (source) snapshot = snapshotIfShared(dst, device, *source, sx, sy);
  const Surface* src = source ? (snapshot ? &*snapshot : &source->surface) : nullptr;
  dst.forEachSurfaceRect(device, [&](RECT r) {
    // Source position of r's top-left, clipped to the source surface. In 64 bits: a
    // window's origin may lie near an end of the int range, and a fill's rectangle may span it.
    long long left = 0;
    long long top = 0;
    if (src) {
      left = sx + (static_cast<long long>(r.left) - origin.x - device.left);
      top = sy + (static_cast<long long>(r.top) - origin.y - device.top);
      const long long skipX = std::max(0LL, -left);
      const long long skipY = std::max(0LL, -top);
      if (skipX >= r.right - r.left || skipY >= r.bottom - r.top) return;
      r.left += static_cast<LONG>(skipX);
      r.top += static_cast<LONG>(skipY);
      left += skipX;
      top += skipY;
      r.right = static_cast<LONG>(std::min<long long>(r.right, r.left + (src->width() - left)));
      r.bottom = static_cast<LONG>(std::min<long long>(r.bottom, r.top + (src->height() - top)));
      if (r.left >= r.right || r.top >= r.bottom) return;
    }
    for (int y = r.top; y < r.bottom; ++y)
      row(r.left, y, r.right - r.left, src, static_cast<int>(left), static_cast<int>(top + (y - r.top)));
  });
}

// The transfer through a whole-row loop, when one does the operation for these formats.
bool transferRows(DrawingContext& dst, const RECT& device, const Blitter::Source* source, const RasterOp& op) {
  if (op.usesPattern() || (op.usesSource() && !source)) return false;
  Surface& target = dst.surface();
  const RowKernels::Kernel kernel = source ? RowKernels::find(op.table(), source->surface.format(), target.format())
                                           : RowKernels::find(op.table(), target.format());
  if (!kernel) return false;
  const int destBytes = target.bitsPerPixel() / 8;
  forEachRow(dst, device, source, [&](int x, int y, int n, const Surface* src, int srcX, int srcY) {
    const std::uint8_t* from = src ? src->row(srcY) + srcX * (src->bitsPerPixel() / 8) : nullptr;
    kernel(from, target.row(y) + x * destBytes, n);
  });
  return true;
}

}  // namespace

void Blitter::transfer(DrawingContext& dst, const RECT& device, const Source* source, DWORD rop) {
  transfer(dst, device, source, rop, *dst.state().brush);
}

void Blitter::transfer(DrawingContext& dst, const RECT& device, const Source* source, DWORD rop,
                       const BrushObject& brush) {
  const RasterOp op(rop);
  const DrawingContext::State& state = dst.state();
  if (op.usesPattern() && brush.isHollow()) return;
  if (!op.usesSource()) source = nullptr;
  const Pixel text = pixelFromColorRef(state.textColor);
  const Pixel bk = pixelFromColorRef(state.bkColor);
  Surface& target = dst.surface();
  if (transferRows(dst, device, source, op)) return;
  const POINT origin = dst.origin();
  std::vector<Pixel> s, p, d;
  forEachRow(dst, device, source, [&](int x, int y, int n, const Surface* src, int srcX, int srcY) {
    d.resize(static_cast<std::size_t>(n));
    if (op.usesDestination()) target.readSpan(x, y, n, d.data());
    if (src) {
      s.resize(static_cast<std::size_t>(n));
      src->readSpan(srcX, srcY, n, s.data());
      convertSource(s.data(), n, src->isMono(), target.isMono(), source->background, text, bk);
    }
    if (op.usesPattern()) {
      p.resize(static_cast<std::size_t>(n));
      brush.fillSpan(x - origin.x, y - origin.y, n, state.brushOrg, text, bk, p.data());
    }
    op.apply(p.data(), s.data(), d.data(), n);
    target.writeSpan(x, y, n, d.data());
  });
}

void Blitter::transferMasked(DrawingContext& dst, const RECT& device, const Source& source, const Surface& mask) {
  Surface& target = dst.surface();
  std::vector<Pixel> s, m, d;
  forEachRow(dst, device, &source, [&](int x, int y, int n, const Surface* src, int srcX, int srcY) {
    s.resize(static_cast<std::size_t>(n));
    m.resize(static_cast<std::size_t>(n));
    d.resize(static_cast<std::size_t>(n));
    src->readSpan(srcX, srcY, n, s.data());
    mask.readSpan(srcX, srcY, n, m.data());
    target.readSpan(x, y, n, d.data());
    for (int i = 0; i < n; ++i)
      if (m[static_cast<std::size_t>(i)] == kBlackPixel) d[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i)];
    target.writeSpan(x, y, n, d.data());
  });
}

void Blitter::transferKeyed(DrawingContext& dst, const RECT& device, const Source& source, Pixel key) {
  const Pixel text = pixelFromColorRef(dst.state().textColor);
  const Pixel bk = pixelFromColorRef(dst.state().bkColor);
  Surface& target = dst.surface();
  std::vector<Pixel> s, d;
  forEachRow(dst, device, &source, [&](int x, int y, int n, const Surface* src, int srcX, int srcY) {
    s.resize(static_cast<std::size_t>(n));
    d.resize(static_cast<std::size_t>(n));
    src->readSpan(srcX, srcY, n, s.data());
    target.readSpan(x, y, n, d.data());
    for (int i = 0; i < n; ++i) {
      if (s[i] == key) continue;
      Pixel v = s[i];
      convertSource(&v, 1, src->isMono(), target.isMono(), source.background, text, bk);
      d[static_cast<std::size_t>(i)] = v;
    }
    target.writeSpan(x, y, n, d.data());
  });
}

namespace {

// One axis of a stretch cut to the pixels whose nearest source pixel lies in the source
// surface, as Windows clips a stretch's source to its bitmap: destination offset i takes
// source offset floor(i * sourceLength / length) (counted from the far end when flipped).
// The rest of the destination is left as it was.
struct Axis {
  long long start;
  long long length;
  long long sourceStart;
  long long sourceLength;
};

std::optional<Axis> visiblePart(const Axis& whole, bool flip, int surfaceLength) {
  long long first = std::max(0LL, -whole.sourceStart);
  long long last = std::min(whole.sourceLength, surfaceLength - whole.sourceStart);
  if (whole.length <= 0 || whole.sourceLength <= 0 || first >= last) return std::nullopt;
  const long long sourceFirst = whole.sourceStart + first;
  const long long sourceLast = whole.sourceStart + last;
  if (flip) {
    const long long flipped = whole.sourceLength - last;
    last = whole.sourceLength - first;
    first = flipped;
  }
  const auto ceilDiv = [](long long a, long long b) { return (a + b - 1) / b; };
  const long long from = ceilDiv(first * whole.length, whole.sourceLength);
  const long long to = ceilDiv(last * whole.length, whole.sourceLength);
  if (from >= to) return std::nullopt;
  return Axis{whole.start + from, to - from, sourceFirst, sourceLast - sourceFirst};
}

}  // namespace

void Blitter::stretch(DrawingContext& dst, const Stretch& whole, const Surface& source, Pixel background, DWORD rop,
                      std::optional<Pixel> key) {
  const auto across = visiblePart({whole.device.left, LONGLONG{whole.device.right} - whole.device.left,
                                   whole.source.left, LONGLONG{whole.source.right} - whole.source.left},
                                  whole.flipX, source.width());
  const auto down = visiblePart({whole.device.top, LONGLONG{whole.device.bottom} - whole.device.top, whole.source.top,
                                 LONGLONG{whole.source.bottom} - whole.source.top},
                                whole.flipY, source.height());
  if (!across || !down) return;
  const auto rect = [](const Axis& x, const Axis& y, bool ofSource) {
    const long long left = ofSource ? x.sourceStart : x.start;
    const long long top = ofSource ? y.sourceStart : y.start;
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                static_cast<LONG>(left + (ofSource ? x.sourceLength : x.length)),
                static_cast<LONG>(top + (ofSource ? y.sourceLength : y.length))};
  };
  const Stretch how{rect(*across, *down, false), rect(*across, *down, true), whole.flipX, whole.flipY, whole.halftone};
  const int w = how.device.right - how.device.left;
  const int h = how.device.bottom - how.device.top;
  const int sw = how.source.right - how.source.left;
  const int sh = how.source.bottom - how.source.top;
  // Only the part of the destination that can be drawn is scaled.
  RECT area = dst.clipRegion().bounds();
  const POINT origin = dst.origin();
  area.left = std::max({area.left, how.device.left, -origin.x});
  area.top = std::max({area.top, how.device.top, -origin.y});
  area.right = std::min({area.right, how.device.right, dst.surface().width() - origin.x});
  area.bottom = std::min({area.bottom, how.device.bottom, dst.surface().height() - origin.y});
  if (area.left >= area.right || area.top >= area.bottom) return;
  const RECT part{area.left - how.device.left, area.top - how.device.top, area.right - how.device.left,
                  area.bottom - how.device.top};

  const bool filtered = how.halftone && !source.isMono() && !dst.surface().isMono() && !key;
  Surface scaled = filtered ? Resampler::scale(source, how.source, w, h, how.flipX, how.flipY, part)
                            : Surface(part.right - part.left, part.bottom - part.top, source.format());
  if (!filtered) {
    std::vector<int> columns(static_cast<std::size_t>(part.right - part.left));
    for (int i = part.left; i < part.right; ++i) {
      int j = static_cast<int>(static_cast<long long>(i) * sw / w);
      if (how.flipX) j = sw - 1 - j;
      columns[static_cast<std::size_t>(i - part.left)] = how.source.left + j;
    }
    std::vector<Pixel> line(static_cast<std::size_t>(source.width()));
    std::vector<Pixel> out(columns.size());
    for (int i = part.top; i < part.bottom; ++i) {
      int j = static_cast<int>(static_cast<long long>(i) * sh / h);
      if (how.flipY) j = sh - 1 - j;
      source.readSpan(0, how.source.top + j, source.width(), line.data());
      for (std::size_t c = 0; c < columns.size(); ++c) out[c] = line[static_cast<std::size_t>(columns[c])];
      scaled.writeSpan(0, i - part.top, static_cast<int>(out.size()), out.data());
    }
  }
  const Source from{scaled, 0, 0, background};
  if (key)
    transferKeyed(dst, area, from, *key);
  else
    transfer(dst, area, &from, rop);
}

}  // namespace plat
