#include <win32/gdi/RowKernels.h>
#include <win32/gdi/VectorClones.h>

#include <cstring>

namespace plat {

namespace {

// The operations as functions of source and destination words; every result is masked
// to the 24 colour bits, as the general path's pixel words are.
struct Copy {
  static std::uint32_t apply(std::uint32_t s, std::uint32_t) { return s; }
};
struct Paint {
  static std::uint32_t apply(std::uint32_t s, std::uint32_t d) { return s | d; }
};
struct And {
  static std::uint32_t apply(std::uint32_t s, std::uint32_t d) { return s & d; }
};
struct Invert {
  static std::uint32_t apply(std::uint32_t s, std::uint32_t d) { return s ^ d; }
};
struct DestInvert {
  static std::uint32_t apply(std::uint32_t, std::uint32_t d) { return ~d; }
};
struct Black {
  static std::uint32_t apply(std::uint32_t, std::uint32_t) { return 0; }
};
struct White {
  static std::uint32_t apply(std::uint32_t, std::uint32_t) { return 0xFFFFFF; }
};

constexpr std::uint32_t kColour = 0xFFFFFF;

inline std::uint32_t load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
inline std::uint32_t load24(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}
inline void store24(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
}

template <class Op>
void row32To32(const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i) store32(d + 4 * i, Op::apply(load32(s + 4 * i), load32(d + 4 * i)) & kColour);
}

// Both 24-bit: the operations are bitwise, so bytes combine as pixels do.
template <class Op>
void row24To24(const std::uint8_t* s, std::uint8_t* d, int n) {
  const int bytes = 3 * n;
  for (int i = 0; i < bytes; ++i) d[i] = static_cast<std::uint8_t>(Op::apply(s[i], d[i]));
}

void copy24To24(const std::uint8_t* s, std::uint8_t* d, int n) { std::memcpy(d, s, static_cast<std::size_t>(3 * n)); }

template <class Op>
ORVANE_VECTOR_CLONES void row24To32(const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i) store32(d + 4 * i, Op::apply(load24(s + 3 * i), load32(d + 4 * i)) & kColour);
}

template <class Op>
ORVANE_VECTOR_CLONES void row32To24(const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i) store24(d + 3 * i, Op::apply(load32(s + 4 * i), load24(d + 3 * i)));
}

template <class Op>
void dest32(const std::uint8_t*, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i) store32(d + 4 * i, Op::apply(0, load32(d + 4 * i)) & kColour);
}

template <class Op>
void dest24(const std::uint8_t*, std::uint8_t* d, int n) {
  const int bytes = 3 * n;
  for (int i = 0; i < bytes; ++i) d[i] = static_cast<std::uint8_t>(Op::apply(0, d[i]));
}

template <class Op>
RowKernels::Kernel sourceKernel(PixelFormat source, PixelFormat dest) {
  const bool s32 = source == PixelFormat::Bgrx32;
  const bool d32 = dest == PixelFormat::Bgrx32;
  if (s32 && d32) return row32To32<Op>;
  if (s32) return row32To24<Op>;
  if (d32) return row24To32<Op>;
  return row24To24<Op>;
}

}  // namespace

RowKernels::Kernel RowKernels::find(std::uint8_t rop, PixelFormat source, PixelFormat dest) {
  if (source == PixelFormat::Mono1 || dest == PixelFormat::Mono1) return nullptr;
  switch (rop) {
    case 0xCC:  // SRCCOPY
      if (source == PixelFormat::Bgr24 && dest == PixelFormat::Bgr24) return copy24To24;
      return sourceKernel<Copy>(source, dest);
    case 0xEE:  // SRCPAINT
      return sourceKernel<Paint>(source, dest);
    case 0x88:  // SRCAND
      return sourceKernel<And>(source, dest);
    case 0x66:  // SRCINVERT
      return sourceKernel<Invert>(source, dest);
    default:
      return nullptr;
  }
}

RowKernels::Kernel RowKernels::find(std::uint8_t rop, PixelFormat dest) {
  if (dest == PixelFormat::Mono1) return nullptr;
  const bool d32 = dest == PixelFormat::Bgrx32;
  switch (rop) {
    case 0x55:  // DSTINVERT
      return d32 ? dest32<DestInvert> : dest24<DestInvert>;
    case 0x00:  // BLACKNESS
      return d32 ? dest32<Black> : dest24<Black>;
    case 0xFF:  // WHITENESS
      return d32 ? dest32<White> : dest24<White>;
    default:
      return nullptr;
  }
}

}  // namespace plat
