// "registry.ini": any text loads as the machine's registry (bad lines skipped); a change
// saves it, and the saved file loads to the same keys and values.
#include "FuzzMachine.h"

#include <win32/registry.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

namespace {

using Tree = std::map<std::string, std::string>;

// Every key's values under `key`, as "path\name" -> type and bytes, to a bounded depth.
void Walk(HKEY key, const std::string& path, int depth, Tree& tree) {
  char name[512];
  BYTE bytes[4096];
  for (DWORD i = 0; tree.size() < 2000; ++i) {
    DWORD nameSize = sizeof name;
    DWORD size = sizeof bytes;
    DWORD type = 0;
    const LSTATUS status = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, bytes, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    tree[path + "\\" + name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(bytes), size);
  }
  if (depth == 0) return;
  for (DWORD i = 0; i < 200; ++i) {
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub = nullptr;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    tree[path + "\\" + name + "\\"] = "";
    Walk(sub, path + "\\" + name, depth - 1, tree);
    RegCloseKey(sub);
  }
}

Tree Registry() {
  Tree tree;
  Walk(HKEY_CURRENT_USER, "HKCU", 6, tree);
  Walk(HKEY_LOCAL_MACHINE, "HKLM", 6, tree);
  Walk(HKEY_CLASSES_ROOT, "HKCR", 6, tree);
  return tree;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  // A new file in the registry's place, as another program would leave it.
  const auto incoming = machine.put("registry.in", data, size);
  std::filesystem::rename(incoming, machine.root() / "registry.ini");
  Tree before = Registry();
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Invented Fuzz Co", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return 0;
  const DWORD one = 1;
  const bool saved =
      RegSetValueExA(key, "Saved", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!saved) return 0;
  Tree after = Registry();
  // Reading the saved file back gives what was in memory.
  const auto reread = machine.put("registry.in", nullptr, 0);
  std::filesystem::copy_file(machine.root() / "registry.ini", reread, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::rename(reread, machine.root() / "registry.ini");
  fuzz::check(Registry() == after, "the saved registry loads the same");
  // Key names compare without case: the file may spell "Software" another way.
  const auto withoutOurKey = [](Tree tree) {
    std::erase_if(tree, [](const auto& entry) {
      std::string path = entry.first;
      std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
      return path.starts_with("hkcu\\software\\invented fuzz co") || path == "hkcu\\software\\";
    });
    return tree;
  };
  after = withoutOurKey(after);
  before = withoutOurKey(before);
  fuzz::check(after == before, "nothing else changed");
  return 0;
}
