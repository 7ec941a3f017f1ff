#include <machine/TrayArea.h>

#include <machine/FileReplacement.h>
#include <machine/Machine.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace plat {

namespace fs = std::filesystem;

namespace {
constexpr char kShellDown[] = "shell-down";
}  // namespace

TrayArea::TrayArea(Machine& machine) : m_folder(machine.runFolder() / "tray") {
  std::error_code ec;
  fs::create_directories(m_folder, ec);
}

bool TrayArea::isShellRunning() const {
  std::error_code ec;
  return !fs::exists(m_folder / kShellDown, ec);
}

void TrayArea::setShellRunning(bool running) {
  std::error_code ec;
  for (const Icon& icon : icons()) remove(icon.window, icon.id);
  if (running) {
    fs::remove(m_folder / kShellDown, ec);
  } else {
    std::ofstream(m_folder / kShellDown) << "down\n";
  }
}

fs::path TrayArea::fileOf(std::uint64_t window, std::uint32_t id) const {
  char name[64];
  std::snprintf(name, sizeof name, "%016llx-%u.icon", static_cast<unsigned long long>(window), id);
  return m_folder / name;
}

std::optional<TrayArea::Icon> TrayArea::find(std::uint64_t window, std::uint32_t id) const {
  return read(fileOf(window, id));
}

// Replaced whole, so a reader never sees half an icon.
bool TrayArea::store(const Icon& icon) {
  if (!isShellRunning()) return false;
  std::ostringstream text;
  text << icon.window << '\n' << icon.id << '\n' << icon.callbackMessage << '\n' << icon.icon << '\n' << icon.tip;
  return FileReplacement::replace(fileOf(icon.window, icon.id), text.str()) == 0;
}

bool TrayArea::remove(std::uint64_t window, std::uint32_t id) {
  std::error_code ec;
  fs::remove(pictureOf(window, id), ec);
  return fs::remove(fileOf(window, id), ec);
}

fs::path TrayArea::pictureOf(std::uint64_t window, std::uint32_t id) const {
  fs::path file = fileOf(window, id);
  file.replace_extension(".png");
  return file;
}

std::vector<TrayArea::Icon> TrayArea::icons() const {
  std::vector<std::pair<fs::file_time_type, Icon>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
    if (entry.path().extension() != ".icon") continue;
    if (auto icon = read(entry.path())) found.emplace_back(entry.last_write_time(ec), std::move(*icon));
  }
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Icon> icons;
  for (auto& [time, icon] : found) icons.push_back(std::move(icon));
  return icons;
}

std::optional<TrayArea::Icon> TrayArea::read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  Icon icon;
  in >> icon.window >> icon.id >> icon.callbackMessage >> icon.icon;
  if (!in) return std::nullopt;
  in.get();  // the line break before the tip
  std::ostringstream tip;
  tip << in.rdbuf();
  icon.tip = tip.str();
  return icon;
}

}  // namespace plat
