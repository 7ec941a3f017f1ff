// Profile (INI) files through the platform's profile functions: any text reads; writing a
// key keeps every other value as it was, and removing it again gives back the file's text.
#include "FuzzMachine.h"

#include <machine/IniDocument.h>
#include <win32/profile.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> NamesIn(const char* buffer, DWORD length) {
  std::vector<std::string> names;
  for (const char* at = buffer; at < buffer + length && *at; at += std::strlen(at) + 1) names.emplace_back(at);
  return names;
}

// Every section's every key and value, as the profile functions read them.
std::map<std::pair<std::string, std::string>, std::string> Values(const std::string& path) {
  static char buffer[65536];
  static char value[4096];
  std::map<std::pair<std::string, std::string>, std::string> values;
  const auto sections = NamesIn(buffer, GetPrivateProfileSectionNamesA(buffer, sizeof buffer, path.c_str()));
  for (const std::string& section : sections) {
    const auto keys = NamesIn(buffer, GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, sizeof buffer,
                                                               path.c_str()));
    for (const std::string& key : keys) {
      GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
      GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, path.c_str());
      values.emplace(std::pair(section, key), value);
    }
  }
  return values;
}

// Section and key names compare trimmed and without case, as the profile functions match
// them: the file may spell "Fuzz Added" another way, and a name cut at a NUL can leave
// " Fuzz Added" as a name of its own.
bool IsOurKey(const std::pair<std::string, std::string>& name) {
  return plat::equalsNoCase(plat::trimmed(name.first), "Fuzz Added") &&
         plat::equalsNoCase(plat::trimmed(name.second), "Key");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& machine = fuzz::FuzzMachine::get();
  const auto file = machine.put("fuzz.ini", data, size);
  const std::string path = machine.programPath("fuzz.ini");
  const auto before = Values(path);
  const std::string text = fuzz::FuzzMachine::read(file);
  if (!WritePrivateProfileStringA("Fuzz Added", "Key", "Value", path.c_str())) return 0;
  char value[16] = {};
  GetPrivateProfileStringA("Fuzz Added", "Key", "", value, sizeof value, path.c_str());
  fuzz::check(std::string(value) == "Value", "the written value reads back");
  auto after = Values(path);  // names holding a NUL end the lists early, alike before and after
  std::erase_if(after, [](const auto& entry) { return IsOurKey(entry.first); });
  if (std::any_of(before.begin(), before.end(), [](const auto& entry) { return IsOurKey(entry.first); })) return 0;
  fuzz::check(after == before, "every other value is kept");
  // Lines end in CR LF once written, as on Windows; nothing else grows.
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  fuzz::check(fuzz::FuzzMachine::read(file).size() <= text.size() + lines + 64, "the file grows by the new key only");
  return 0;
}
