#include <win32/user/Desktop.h>

#include <machine/Machine.h>
#include <machine/TrayArea.h>
#include <win32/gdi/DragImage.h>
#include <win32/gdi/PictureFile.h>
#include <win32/gdi/WindowGraphics.h>
#include <win32/user/UserSystem.h>
#include <win32/user/WindowDirectory.h>
#include <win32/user/metrics.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace plat {

namespace {

constexpr std::uint32_t kMagic = 0x4F52444Bu;  // "ORDK"

struct LayerHeader {
  std::uint32_t topmost;
  std::uint32_t reserved;
  std::int64_t raisedAt;
  std::int32_t left, top, right, bottom;
};
static_assert(sizeof(LayerHeader) == 32);

void append(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
}

// Interleaves the programs' stacks (each front first) into one, front first: of the
// stacks' front layers, the topmost before the others and the most recently raised first.
std::vector<Desktop::Layer> merged(std::vector<std::vector<Desktop::Layer>> stacks) {
  std::vector<Desktop::Layer> order;
  std::vector<std::size_t> next(stacks.size(), 0);
  for (;;) {
    std::size_t best = stacks.size();
    for (std::size_t s = 0; s < stacks.size(); ++s) {
      if (next[s] == stacks[s].size()) continue;
      const Desktop::Layer& candidate = stacks[s][next[s]];
      if (best == stacks.size()) {
        best = s;
        continue;
      }
      const Desktop::Layer& front = stacks[best][next[best]];
      if (candidate.topmost != front.topmost ? candidate.topmost : candidate.raisedAt > front.raisedAt) best = s;
    }
    if (best == stacks.size()) return order;
    order.push_back(std::move(stacks[best][next[best]++]));
  }
}

}  // namespace

std::vector<Desktop::Layer> Desktop::layersOfThisProgram() {
  WindowGraphics::current().dropDeadWindows();
  VirtualScreen& screen = VirtualScreen::current();
  std::vector<Layer> layers;
  if (auto video = screen.fullScreenVideo())
    layers.push_back(Layer{true, std::numeric_limits<std::int64_t>::max(), std::move(*video)});
  for (HWND hwnd : VirtualScreen::topLevelWindows()) {
    Layer layer;
    {
      UserSystem& system = UserSystem::current();
      std::lock_guard guard(system.lock());
      const auto window = system.window(hwnd);
      if (!window) continue;
      layer.topmost = (window->exStyle & WS_EX_TOPMOST) != 0;
      layer.raisedAt = window->raisedAt;
    }
    auto picture = screen.layerOf(hwnd);
    if (!picture) continue;
    layer.picture = std::move(*picture);
    layers.push_back(std::move(layer));
  }
  return layers;
}

std::vector<std::uint8_t> Desktop::thisProgram() {
  std::vector<std::uint8_t> out;
  append(out, &kMagic, sizeof kMagic);
  for (const Layer& layer : layersOfThisProgram()) {
    const RECT& r = layer.picture.rect;
    const LayerHeader header{layer.topmost ? 1u : 0u, 0, layer.raisedAt, r.left, r.top, r.right, r.bottom};
    append(out, &header, sizeof header);
    const Surface& pixels = *layer.picture.pixels;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(pixels.width()));
    for (int y = 0; y < pixels.height(); ++y) {
      pixels.readSpan(0, y, pixels.width(), row.data());
      const std::uint8_t* cover = &layer.picture.cover[static_cast<std::size_t>(y) * pixels.width()];
      for (std::size_t x = 0; x < row.size(); ++x) row[x] |= static_cast<std::uint32_t>(cover[x]) << 24;
      append(out, row.data(), row.size() * sizeof(std::uint32_t));
    }
  }
  return out;
}

std::vector<Desktop::Layer> Desktop::read(const std::vector<std::uint8_t>& bytes) {
  std::vector<Layer> layers;
  std::uint32_t magic = 0;
  if (bytes.size() < sizeof magic) return layers;
  std::memcpy(&magic, bytes.data(), sizeof magic);
  if (magic != kMagic) return layers;
  std::size_t at = sizeof magic;
  while (bytes.size() - at >= sizeof(LayerHeader)) {
    LayerHeader header{};
    std::memcpy(&header, bytes.data() + at, sizeof header);
    at += sizeof header;
    const long long width = static_cast<long long>(header.right) - header.left;
    const long long height = static_cast<long long>(header.bottom) - header.top;
    if (!PictureFile::sizeAllowed(width, height)) return layers;
    const auto count = static_cast<std::size_t>(width * height);
    if ((bytes.size() - at) / sizeof(std::uint32_t) < count) return layers;
    Layer layer;
    layer.topmost = header.topmost != 0;
    layer.raisedAt = header.raisedAt;
    layer.picture.rect = RECT{header.left, header.top, header.right, header.bottom};
    layer.picture.pixels = std::make_shared<Surface>(static_cast<int>(width), static_cast<int>(height), PixelFormat::Bgrx32);
    layer.picture.cover.resize(count);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (int y = 0; y < static_cast<int>(height); ++y) {
      std::memcpy(row.data(), bytes.data() + at, row.size() * sizeof(std::uint32_t));
      at += row.size() * sizeof(std::uint32_t);
      for (std::size_t x = 0; x < row.size(); ++x) {
        layer.picture.cover[static_cast<std::size_t>(y) * row.size() + x] = static_cast<std::uint8_t>(row[x] >> 24);
        row[x] &= 0xFFFFFF;
      }
      layer.picture.pixels->writeSpan(0, y, static_cast<int>(width), row.data());
    }
    layers.push_back(std::move(layer));
  }
  return layers;
}

std::shared_ptr<Surface> Desktop::compose() {
  VirtualScreen& screen = VirtualScreen::current();
  auto frame = std::make_shared<Surface>(screen.width(), screen.height(), PixelFormat::Bgrx32);
  frame->fill(frame->bounds(), pixelFromColorRef(GetSysColor(COLOR_DESKTOP)));
  std::vector<std::vector<Layer>> stacks{layersOfThisProgram()};
  for (const std::vector<std::uint8_t>& bytes : UserSystem::current().directory().otherPrograms())
    stacks.push_back(read(bytes));
  const std::vector<Layer> order = merged(std::move(stacks));
  for (auto it = order.rbegin(); it != order.rend(); ++it) VirtualScreen::blendOnto(*frame, it->picture);
  drawTray(*frame);
  DragImage::current().drawOn(*frame);
  return frame;
}

// The notification area at the bottom right corner, over every window, as an always-on-top
// taskbar shows it: a sunken strip with the icons' pictures, oldest first.
void Desktop::drawTray(Surface& frame) {
  const std::vector<TrayArea::Icon> icons = Machine::current().service<TrayArea>().icons();
  if (icons.empty()) return;
  const int icon = GetSystemMetrics(SM_CXSMICON);
  const int step = icon + 6;
  const int height = icon + 8;
  const int shown = std::min(static_cast<int>(icons.size()), (frame.width() - 6) / step);
  const RECT strip{frame.width() - shown * step - 6, std::max(0, frame.height() - height), frame.width(), frame.height()};
  frame.fill(strip, pixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
  frame.fill(RECT{strip.left, strip.top, strip.right, strip.top + 1}, pixelFromColorRef(GetSysColor(COLOR_BTNSHADOW)));
  frame.fill(RECT{strip.left, strip.top, strip.left + 1, strip.bottom}, pixelFromColorRef(GetSysColor(COLOR_BTNSHADOW)));
  TrayArea& tray = Machine::current().service<TrayArea>();
  int x = strip.left + 6;
  for (int i = 0; i < shown; ++i) {
    if (const auto picture = PictureFile::load(tray.pictureOf(icons[static_cast<std::size_t>(i)].window,
                                                              icons[static_cast<std::size_t>(i)].id))) {
      const Surface& pixels = picture->pixels;
      std::vector<Pixel> row(static_cast<std::size_t>(pixels.width()));
      for (int y = 0; y < std::min({pixels.height(), icon, frame.height() - strip.top - 4}); ++y) {
        pixels.readSpan(0, y, pixels.width(), row.data());
        frame.writeSpan(x, strip.top + 4 + y, std::min(pixels.width(), icon), row.data());
      }
    }
    x += step;
  }
}

}  // namespace plat
