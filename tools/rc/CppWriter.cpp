#include "CppWriter.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace rc {

namespace {

// Every byte that is not plain printable ASCII as an octal escape, so texts in any code
// page survive exactly.
std::string literal(const std::string& text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c >= 0x20 && c < 0x7F && c != '?') {
      out += ch;
    } else {
      const char digits[] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                             static_cast<char>('0' + (c & 7)), 0};
      out += digits;
    }
  }
  return out + "\"";
}

std::string arrayOrNull(const std::string& name, std::size_t count) {
  return count ? name + ", " + std::to_string(count) : "nullptr, 0";
}

void writeMenuItems(const std::vector<MenuItem>& items, const std::string& name, std::ostream& out) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (!items[i].items.empty()) writeMenuItems(items[i].items, name + "_" + std::to_string(i), out);
  out << "const MenuItem " << name << "[] = {\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    out << "    {" << (item.separator ? "nullptr" : literal(item.text)) << ", " << item.id << "u, " << item.flags << "u, "
        << arrayOrNull(name + "_" + std::to_string(i), item.items.size()) << "},\n";
  }
  out << "};\n";
}

void writeBlobs(const std::vector<FileResource>& resources, const std::string& kind, std::ostream& out) {
  // Numbered ones are named by their id, named ones by their place in the list.
  auto array = [&](const FileResource& r, std::size_t index) {
    return "k" + kind + (r.name.empty() ? std::to_string(r.id) : "Named" + std::to_string(index));
  };
  for (std::size_t index = 0; index < resources.size(); ++index) {
    const FileResource& r = resources[index];
    std::ifstream in(r.file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) throw std::runtime_error(r.file.string() + ": empty or unreadable");
    out << "const unsigned char " << array(r, index) << "[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i)
      out << (i % 24 == 0 ? "\n    " : "") << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
    out << "\n};\n";
  }
  if (resources.empty()) return;
  out << "const Blob k" << kind << "s[] = {\n";
  for (std::size_t index = 0; index < resources.size(); ++index) {
    const FileResource& r = resources[index];
    out << "    {" << r.id << ", " << array(r, index) << ", sizeof " << array(r, index) << ", "
        << (r.name.empty() ? "nullptr" : literal(r.name)) << "},\n";
  }
  out << "};\n";
}

// Each toolbar as its words (version 1, 16 x 16 buttons, count, ids), little-endian bytes.
void writeToolbars(const std::vector<Toolbar>& toolbars, std::ostream& out) {
  for (const Toolbar& t : toolbars) {
    std::vector<unsigned> words{1, 16, 16, static_cast<unsigned>(t.buttons.size())};
    words.insert(words.end(), t.buttons.begin(), t.buttons.end());
    out << "const unsigned char kToolbar" << t.id << "[] = {";
    for (std::size_t i = 0; i < words.size(); ++i)
      out << (i % 12 == 0 ? "\n    " : "") << (words[i] & 0xFF) << "," << (words[i] >> 8 & 0xFF) << ",";
    out << "\n};\n";
  }
  if (toolbars.empty()) return;
  out << "const Blob kToolbars[] = {\n";
  for (const Toolbar& t : toolbars)
    out << "    {" << t.id << ", kToolbar" << t.id << ", sizeof kToolbar" << t.id << ", nullptr},\n";
  out << "};\n";
}

void writeDialogs(const std::vector<Dialog>& dialogs, std::ostream& out) {
  for (const Dialog& d : dialogs) {
    if (d.controls.empty()) continue;
    out << "const Control kDialog" << d.id << "Controls[] = {\n";
    for (const Control& c : d.controls)
      out << "    {" << literal(c.className) << ", " << c.id << ", " << literal(c.text) << ", static_cast<DWORD>("
          << c.style << "), static_cast<DWORD>(" << c.exStyle << "), " << c.x << ", " << c.y << ", " << c.cx << ", "
          << c.cy << "},\n";
    out << "};\n";
  }
  if (dialogs.empty()) return;
  out << "const Dialog kDialogs[] = {\n";
  for (const Dialog& d : dialogs)
    out << "    {" << d.id << ", " << literal(d.caption) << ", " << literal(d.className) << ", static_cast<DWORD>("
        << d.style << "), static_cast<DWORD>(" << d.exStyle << "), " << d.x << ", " << d.y << ", " << d.cx << ", "
        << d.cy << ", " << arrayOrNull("kDialog" + std::to_string(d.id) + "Controls", d.controls.size()) << "},\n";
  out << "};\n";
}

}  // namespace

void writeCpp(const ResourceScript& script, const std::string& sourceName, std::ostream& out) {
  out << "// Resources of " << sourceName << ", written by the resource compiler. Do not edit.\n"
      << "#include <win32/user.h>\n#include <win32/user/ResourceTable.h>\n\nnamespace {\n\n"
      << "using namespace plat::res;\n\n";
  writeDialogs(script.dialogs, out);
  if (!script.strings.empty()) {
    out << "const String kStrings[] = {\n";
    for (const StringEntry& s : script.strings) out << "    {" << s.id << "u, " << literal(s.text) << "},\n";
    out << "};\n";
  }
  for (const Menu& m : script.menus) writeMenuItems(m.items, "kMenu" + std::to_string(m.id), out);
  if (!script.menus.empty()) {
    out << "const Menu kMenus[] = {\n";
    for (const Menu& m : script.menus)
      out << "    {" << m.id << ", " << arrayOrNull("kMenu" + std::to_string(m.id), m.items.size()) << "},\n";
    out << "};\n";
  }
  writeBlobs(script.bitmaps, "Bitmap", out);
  writeBlobs(script.icons, "Icon", out);
  writeToolbars(script.toolbars, out);
  out << "\nconst Module kModule = {\n"
      << "    " << arrayOrNull("kDialogs", script.dialogs.size()) << ",\n"
      << "    " << arrayOrNull("kStrings", script.strings.size()) << ",\n"
      << "    " << arrayOrNull("kMenus", script.menus.size()) << ",\n"
      << "    " << arrayOrNull("kBitmaps", script.bitmaps.size()) << ",\n"
      << "    " << arrayOrNull("kIcons", script.icons.size()) << ",\n"
      << "    " << arrayOrNull("kToolbars", script.toolbars.size()) << ",\n"
      << "};\n\nconst plat::ResourceTable::Registration kRegistration(&kModule);\n\n}  // namespace\n";
}

}  // namespace rc
