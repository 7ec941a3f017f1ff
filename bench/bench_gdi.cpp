// GDI's hot paths, each beside an anchor timed in the same run: the skins' region from a
// key-colour bitmap (beside building it the old way, or by the plain run scan), blits and
// SetDIBits of a video frame (beside memcpy of the bytes written), a HALFTONE stretch of
// a frame to the screen (beside libswscale's bilinear scale of the same pixels), a
// caption through DrawTextA (beside FreeType rendering the same glyphs into a buffer),
// and composing the screen (beside memcpy of the screen's pixels).
#include <machine/Machine.h>
#include <win32/gdi.h>
#include <win32/gdi/VirtualScreen.h>
#include <win32/user.h>

#include "support/BenchMachine.h"
#include "support/SideBySide.h"
#include "skin/SkinBitmap.h"

#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

extern "C" {
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A fresh machine of its own, as a test would have; removed at the end.
// A 32-bit top-down DIB section selected into a memory context.
struct Dib {
  HDC dc;
  HBITMAP bitmap;
  std::uint32_t* bits = nullptr;
  Dib(int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<std::uint32_t*>(p);
    SelectObject(dc, bitmap);
  }
  ~Dib() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

// A skin background: an opaque rounded panel with a few transparent holes on magenta.
void paintSkin(Dib& dib, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int dx = x < 40 ? 40 - x : x >= width - 40 ? x - (width - 41) : 0;
      const int dy = y < 40 ? 40 - y : y >= height - 40 ? y - (height - 41) : 0;
      const bool corner = dx * dx + dy * dy > 40 * 40;
      // Rows of small holes, as lettering or a grille cut into a skin: many runs a row.
      const bool hole = (y / 8) % 2 == 0 && x % 16 < 4;
      dib.bits[y * width + x] = corner || hole ? 0x00FF00FF : static_cast<std::uint32_t>(0x303030 + (x ^ y) % 64);
    }
}

// The finest pattern a mask can have: opaque and key pixels alternate in both directions,
// so every row holds width / 2 runs and no two rows agree.
void paintFinePattern(Dib& dib, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) dib.bits[y * width + x] = (x + y) % 2 ? 0x00FF00FF : 0x00404040;
}

// How the blocks of rectangles join the result: in place, as the skins do
// (CombineRgn(result, result, block)), or the old way, where every block rebuilt the
// whole region so far (what adding to the result cost before it was done in place).
enum class Joining { InPlace, Rebuilt };

// The skins' region builder: one rectangle per run of non-key pixels, row by row, handed to
// ExtCreateRegion in blocks of 2000 and joined to the result.
HRGN regionFromKey(const std::uint32_t* bits, int width, int height, std::uint32_t key, Joining joining) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + 2000 * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  DWORD count = 0;
  const auto flush = [&] {
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, count, 0, RECT{0, 0, width, height}};
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
    if (joining == Joining::InPlace) {
      CombineRgn(result, result, part, RGN_OR);
    } else {
      HRGN joined = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(joined, result, part, RGN_OR);
      DeleteObject(result);
      result = joined;
    }
    DeleteObject(part);
    count = 0;
  };
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = bits + static_cast<std::ptrdiff_t>(y) * width;
    for (int x = 0; x < width;) {
      while (x < width && row[x] == key) ++x;
      const int x0 = x;
      while (x < width && row[x] != key) ++x;
      if (x > x0) {
        rects[count++] = RECT{x0, y, x, y + 1};
        if (count == 2000) flush();
      }
    }
  }
  flush();
  return result;
}

// A key-colour mask as a loaded skin bitmap holds it (a bitmap compatible with the
// screen): the fine pattern or the skin background.
HBITMAP loadedMask(int width, int height, bool fine) {
  Dib mask(width, height);
  if (fine)
    paintFinePattern(mask, width, height);
  else
    paintSkin(mask, width, height);
  HBITMAP loaded = CreateCompatibleBitmap(mask.dc, width, height);
  HDC loadedDc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(loadedDc, loaded);
  BitBlt(loadedDc, 0, 0, width, height, mask.dc, 0, 0, SRCCOPY);
  SelectObject(loadedDc, old);
  DeleteDC(loadedDc);
  return loaded;
}

// The loaded mask, selected into a memory context of its own for blitting from.
struct LoadedMask {
  HBITMAP bitmap;
  HDC dc;
  LoadedMask(int width, int height, bool fine)
      : bitmap(loadedMask(width, height, fine)), dc(CreateCompatibleDC(nullptr)) {
    SelectObject(dc, bitmap);
  }
  ~LoadedMask() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

// The rectangles of region data of `bytes`, as the benchmark's counter.
void countRects(benchmark::State& state, std::size_t bytes) {
  state.counters["rects"] = static_cast<double>((bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT));
}

// The mask as the skins hold it: a loaded bitmap, blitted into a 32-bit DIB section whose
// bits are scanned for runs, the blocks joined in place, beside the same joined the old
// way. Arguments: width, height, fine pattern (1) or skin (0).
void BM_RegionFromKeyColourBitmap(benchmark::State& state) {
  bench::OpenMachine();
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  LoadedMask loaded(width, height, state.range(2) != 0);
  Dib scanned(width, height);
  std::size_t bytes = 0;
  auto build = [&](Joining joining) {
    BitBlt(scanned.dc, 0, 0, width, height, loaded.dc, 0, 0, SRCCOPY);
    HRGN region = regionFromKey(scanned.bits, width, height, 0x00FF00FF, joining);
    bytes = GetRegionData(region, 0, nullptr);
    DeleteObject(region);
  };
  bench::TimeBeside(state, [&] { build(Joining::InPlace); }, [&] { build(Joining::Rebuilt); },
                    "the old way: every block rebuilds the region");
  countRects(state, bytes);
}
BENCHMARK(BM_RegionFromKeyColourBitmap)
    ->ArgNames({"w", "h", "fine"})
    ->Args({1024, 768, 0})
    ->Args({512, 512, 1})
    ->Unit(benchmark::kMillisecond);

// The skins' own BitmapToRegion on the same masks, as a loaded skin bitmap (magenta is
// transparent), beside the plain run scan joined in place. Arguments: width, height,
// fine pattern (1) or skin (0).
void BM_SkinBitmapToRegion(benchmark::State& state) {
  bench::OpenMachine();
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  LoadedMask loaded(width, height, state.range(2) != 0);
  Dib scanned(width, height);
  std::size_t bytes = 0;
  bench::TimeBeside(
      state,
      [&] {
        HRGN region = BitmapToRegion(loaded.bitmap, RGB(255, 0, 255), 0);
        bytes = GetRegionData(region, 0, nullptr);
        DeleteObject(region);
      },
      [&] {
        BitBlt(scanned.dc, 0, 0, width, height, loaded.dc, 0, 0, SRCCOPY);
        DeleteObject(regionFromKey(scanned.bits, width, height, 0x00FF00FF, Joining::InPlace));
      },
      "the run scan joined in place");
  countRects(state, bytes);
}
BENCHMARK(BM_SkinBitmapToRegion)
    ->ArgNames({"w", "h", "fine"})
    ->Args({1024, 768, 0})
    ->Args({2048, 2048, 1})
    ->Unit(benchmark::kMillisecond);

// memcpy of `bytes`: the least a blit writing them can cost.
std::function<void()> copying(std::size_t bytes) {
  auto from = std::make_shared<std::vector<std::uint8_t>>(bytes, 0x5A);
  auto to = std::make_shared<std::vector<std::uint8_t>>(bytes);
  return [from, to, bytes] { std::memcpy(to->data(), from->data(), bytes); };
}

// A DIB section of `bits` bits selected into a memory context, filled with noise.
struct NoiseDib {
  HDC dc;
  HBITMAP bitmap;
  NoiseDib(int width, int height, int bits) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bits), BI_RGB,
                                     0, 0, 0, 0, 0};
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    auto* bytes = static_cast<std::uint8_t*>(p);
    const std::size_t size = static_cast<std::size_t>((width * bits + 31) / 32 * 4) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
    SelectObject(dc, bitmap);
  }
  ~NoiseDib() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

// BitBlt of a 720 x 576 frame: source bits, destination bits, raster operation. The
// same-format SRCCOPY target: within 2x the memcpy of the same bytes.
void BM_BitBlt720x576(benchmark::State& state) {
  bench::OpenMachine();
  const int sourceBits = static_cast<int>(state.range(0));
  const int destBits = static_cast<int>(state.range(1));
  const DWORD rop = static_cast<DWORD>(state.range(2));
  NoiseDib from(720, 576, sourceBits);
  NoiseDib to(720, 576, destBits);
  bench::TimeBeside(
      state, [&] { BitBlt(to.dc, 0, 0, 720, 576, from.dc, 0, 0, rop); },
      copying(static_cast<std::size_t>(720 * 576 * destBits / 8)),
      sourceBits == destBits && rop == SRCCOPY ? "memcpy of the bytes written; target: ratio within 2"
                                               : "memcpy of the bytes written");
}
BENCHMARK(BM_BitBlt720x576)
    ->ArgNames({"from", "to", "rop"})
    ->Args({32, 32, SRCCOPY})
    ->Args({24, 24, SRCCOPY})
    ->Args({24, 32, SRCCOPY})
    ->Args({32, 24, SRCCOPY})
    ->Args({32, 32, SRCINVERT})
    ->Args({32, 32, SRCAND})
    ->Args({32, 32, NOTSRCCOPY})
    ->Unit(benchmark::kMicrosecond);

// SetDIBits of a 720 x 576 picture of `bits` bits (16: 5-5-5) into a 32-bit bitmap.
void BM_SetDIBits720x576(benchmark::State& state) {
  bench::OpenMachine();
  const WORD bits = static_cast<WORD>(state.range(0));
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(720, 576, 1, 32, nullptr);
  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 720, 576, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> picture(static_cast<std::size_t>((720 * bits + 31) / 32 * 4) * 576);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
  bench::TimeBeside(
      state, [&] { SetDIBits(dc, bitmap, 0, 576, picture.data(), &bmi, DIB_RGB_COLORS); },
      copying(720 * 576 * 4), "memcpy of the bytes written");
  DeleteObject(bitmap);
  DeleteDC(dc);
}
BENCHMARK(BM_SetDIBits720x576)->ArgName("bits")->Arg(16)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_StretchBltHalftone720x576To1024x768(benchmark::State& state) {
  bench::OpenMachine();
  Dib frame(720, 576);
  for (int i = 0; i < 720 * 576; ++i) frame.bits[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  Dib screen(1024, 768);
  SetStretchBltMode(screen.dc, HALFTONE);
  SwsContext* scaler = sws_getContext(720, 576, AV_PIX_FMT_BGRA, 1024, 768, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                      nullptr, nullptr);
  const std::uint8_t* from[4] = {reinterpret_cast<const std::uint8_t*>(frame.bits), nullptr, nullptr, nullptr};
  std::uint8_t* to[4] = {reinterpret_cast<std::uint8_t*>(screen.bits), nullptr, nullptr, nullptr};
  const int fromStride[4] = {720 * 4, 0, 0, 0};
  const int toStride[4] = {1024 * 4, 0, 0, 0};
  bench::TimeBeside(
      state, [&] { StretchBlt(screen.dc, 0, 0, 1024, 768, frame.dc, 0, 0, 720, 576, SRCCOPY); },
      [&] { sws_scale(scaler, from, fromStride, 0, 576, to, toStride); }, "libswscale, bilinear");
  sws_freeContext(scaler);
}
BENCHMARK(BM_StretchBltHalftone720x576To1024x768)->Unit(benchmark::kMillisecond);

// The anchor of a caption: FreeType's own glyphs of a bold sans face at the pixel size,
// each rendered and laid over a 32-bit buffer on one base line.
class GlyphRenderer {
 public:
  explicit GlyphRenderer(int pixels) {
    FT_Init_FreeType(&m_library);
    if (FT_New_Face(m_library, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 0, &m_face) == 0)
      FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixels));
  }
  ~GlyphRenderer() {
    if (m_face) FT_Done_Face(m_face);
    FT_Done_FreeType(m_library);
  }
  GlyphRenderer(const GlyphRenderer&) = delete;
  GlyphRenderer& operator=(const GlyphRenderer&) = delete;

  void render(const char* text, std::uint32_t* bits, int width, int height) {
    if (!m_face) return;
    int penX = 0;
    const int baseLine = height * 3 / 4;
    for (const char* c = text; *c; ++c) {
      if (FT_Load_Char(m_face, static_cast<FT_ULong>(static_cast<unsigned char>(*c)), FT_LOAD_RENDER) != 0) continue;
      const FT_GlyphSlot glyph = m_face->glyph;
      for (unsigned row = 0; row < glyph->bitmap.rows; ++row)
        for (unsigned column = 0; column < glyph->bitmap.width; ++column) {
          const int x = penX + glyph->bitmap_left + static_cast<int>(column);
          const int y = baseLine - glyph->bitmap_top + static_cast<int>(row);
          const std::uint8_t cover = glyph->bitmap.buffer[row * static_cast<unsigned>(glyph->bitmap.pitch) + column];
          if (x >= 0 && x < width && y >= 0 && y < height && cover)
            bits[y * width + x] = 0x010101u * cover;
        }
      penX += static_cast<int>(glyph->advance.x >> 6);
    }
  }

 private:
  FT_Library m_library = nullptr;
  FT_Face m_face = nullptr;
};

void BM_DrawTextCaption(benchmark::State& state) {
  bench::OpenMachine();
  Dib bar(400, 30);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  SelectObject(bar.dc, font);
  SetBkMode(bar.dc, TRANSPARENT);
  SetTextColor(bar.dc, RGB(255, 255, 255));
  RECT r{0, 0, 400, 30};
  const char* caption = "Orvane Media - Channel 12 (Preview)";
  GlyphRenderer glyphs(16);
  bench::TimeBeside(
      state,
      [&] { DrawTextA(bar.dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS); },
      [&] { glyphs.render(caption, bar.bits, 400, 30); }, "FreeType rendering the glyphs into the bar");
  SelectObject(bar.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}
BENCHMARK(BM_DrawTextCaption)->Unit(benchmark::kMicrosecond);

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void BM_ComposeFiveWindows(benchmark::State& state) {
  bench::OpenMachine();
  WNDCLASSA wc{};
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = "BenchWindow";
  RegisterClassA(&wc);
  std::vector<HWND> windows;
  for (int i = 0; i < 5; ++i) {
    const DWORD ex = i == 4 ? WS_EX_LAYERED : 0;
    HWND hwnd = CreateWindowExA(ex, "BenchWindow", "", WS_POPUP | WS_VISIBLE, 60 * i, 40 * i, 500, 400, nullptr,
                                nullptr, nullptr, nullptr);
    HDC dc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(RGB(40 * i, 255 - 40 * i, 128));
    RECT all{0, 0, 500, 400};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
    windows.push_back(hwnd);
  }
  SetWindowRgn(windows[2], CreateRectRgn(0, 0, 300, 300), FALSE);
  SetLayeredWindowAttributes(windows[4], 0, 160, LWA_ALPHA);
  bench::TimeBeside(
      state, [] { benchmark::DoNotOptimize(plat::VirtualScreen::current().compose()); }, copying(1024 * 768 * 4),
      "memcpy of the screen's pixels");
  for (HWND hwnd : windows) DestroyWindow(hwnd);
}
BENCHMARK(BM_ComposeFiveWindows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::Main(argc, argv, nullptr); }
