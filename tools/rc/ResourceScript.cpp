#include "ResourceScript.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace rc {

namespace {

namespace fs = std::filesystem;

// Menu item flags by their resource-file keyword.
const std::map<std::string, unsigned>& menuFlags() {
  static const std::map<std::string, unsigned> flags = {
      {"GRAYED", 0x0001}, {"INACTIVE", 0x0002}, {"CHECKED", 0x0008}, {"MENUBARBREAK", 0x0020},
      {"MENUBREAK", 0x0040}, {"OWNERDRAW", 0x0100}, {"HELP", 0x4000},
  };
  return flags;
}

constexpr unsigned kPopup = 0x0010;

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}
constexpr unsigned kSeparator = 0x0800;

// One line split into words; a quoted string is one word, kept with its quote mark so
// the parser can tell text from names.
class Line {
 public:
  Line(std::string text, const fs::path& file, int number) : m_file(file), m_number(number) { split(text); }

  bool empty() const { return m_words.empty(); }
  std::size_t size() const { return m_words.size(); }
  const std::string& word(std::size_t i) const {
    if (i >= m_words.size()) fail("missing value");
    return m_words[i];
  }
  bool isText(std::size_t i) const { return i < m_words.size() && !m_words[i].empty() && m_words[i][0] == '"'; }
  std::string text(std::size_t i) const {
    if (!isText(i)) fail("expected a quoted text");
    return word(i).substr(1);
  }
  // A class or other name, quoted or not.
  std::string name(std::size_t i) const { return isText(i) ? text(i) : word(i); }
  long number(std::size_t i) const {
    const std::string& w = word(i);
    try {
      std::size_t used = 0;
      const long value = std::stol(w, &used, 0);
      if (used == w.size()) return value;
    } catch (...) {
    }
    fail("expected a number, found '" + w + "'");
  }
  // The words from `i` on, joined back: a style expression.
  std::string rest(std::size_t i) const {
    std::string joined;
    for (std::size_t k = i; k < m_words.size(); ++k) joined += (joined.empty() ? "" : " ") + m_words[k];
    return joined;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(m_file.string() + ":" + std::to_string(m_number) + ": " + what);
  }

 private:
  void split(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
      } else if (text[i] == '#') {
        break;
      } else if (text[i] == '"') {
        m_words.push_back("\"" + quoted(text, i));
      } else {
        const std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        m_words.push_back(text.substr(start, i - start));
      }
    }
  }

  std::string quoted(const std::string& text, std::size_t& i) {
    std::string out;
    for (++i; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        ++i;
        return out;
      }
      if (c != '\\' || i + 1 == text.size()) {
        out += c;
        continue;
      }
      const char e = text[++i];
      if (e == 'x' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
        continue;
      }
      out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
    }
    fail("unterminated text");
  }

  const fs::path& m_file;
  int m_number;
  std::vector<std::string> m_words;
};

// A style expression: names and numbers joined by '|', "NOT name" removing a bit.
std::string styleExpression(std::string written, const std::string& base) {
  std::string keep = base;
  std::string remove;
  std::size_t start = 0;
  while (start <= written.size()) {
    const std::size_t bar = written.find('|', start);
    std::string part = written.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    const auto first = part.find_first_not_of(' ');
    const auto last = part.find_last_not_of(' ');
    part = first == std::string::npos ? "" : part.substr(first, last - first + 1);
    if (part.rfind("NOT ", 0) == 0)
      remove += (remove.empty() ? "" : " | ") + part.substr(4);
    else if (!part.empty())
      keep += (keep.empty() ? "" : " | ") + part;
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (keep.empty()) keep = "0";
  return remove.empty() ? keep : "(" + keep + ") & ~(" + remove + ")";
}

class Parser {
 public:
  explicit Parser(const fs::path& file) : m_file(file), m_folder(file.parent_path()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error(file.string() + ": cannot read the resource file");
    int number = 0;
    for (std::string text; std::getline(in, text);) {
      if (!text.empty() && text.back() == '\r') text.pop_back();
      Line line(text, m_file, ++number);
      if (!line.empty()) m_lines.push_back(std::move(line));
    }
  }

  ResourceScript parse() {
    ResourceScript script;
    while (m_next < m_lines.size()) {
      const Line& line = m_lines[m_next++];
      const std::string& kind = line.word(0);
      if (kind == "dialog") {
        script.dialogs.push_back(dialog(line));
        unique(m_dialogIds, script.dialogs.back().id, line, "dialog");
      } else if (kind == "string") {
        script.strings.push_back({static_cast<unsigned>(line.number(1)), line.text(2)});
        unique(m_stringIds, static_cast<long>(script.strings.back().id), line, "string");
      } else if (kind == "menu") {
        script.menus.push_back(Menu{static_cast<int>(line.number(1)), items()});
        unique(m_menuIds, script.menus.back().id, line, "menu");
      } else if (kind == "bitmap" && line.isText(1)) {
        // bitmap "<NAME>" "<file>": found by its name, in any case, as on Windows.
        FileResource resource{0, m_folder / line.text(2), upper(line.text(1))};
        if (resource.name.empty() || resource.name[0] == '#') line.fail("a bitmap name may not be empty or start with '#'");
        if (!fs::exists(resource.file)) line.fail("no file " + resource.file.string());
        if (!m_bitmapNames.insert(resource.name).second) line.fail("a second bitmap " + resource.name);
        script.bitmaps.push_back(resource);
      } else if (kind == "bitmap" || kind == "icon") {
        FileResource resource{static_cast<int>(line.number(1)), m_folder / line.text(2), {}};
        if (!fs::exists(resource.file)) line.fail("no file " + resource.file.string());
        auto& list = kind == "bitmap" ? script.bitmaps : script.icons;
        list.push_back(resource);
        unique(kind == "bitmap" ? m_bitmapIds : m_iconIds, resource.id, line, kind);
      } else if (kind == "toolbar") {
        // toolbar <id> "<picture>.bmp" <button id>...: the picture is the bitmap of that id.
        FileResource picture{static_cast<int>(line.number(1)), m_folder / line.text(2), {}};
        if (!fs::exists(picture.file)) line.fail("no file " + picture.file.string());
        Toolbar toolbar{picture.id, {}};
        for (std::size_t i = 3; i < line.size(); ++i) toolbar.buttons.push_back(static_cast<unsigned>(line.number(i)));
        if (toolbar.buttons.empty() || toolbar.buttons.size() > 0xFFFF) line.fail("a toolbar needs its button ids");
        script.bitmaps.push_back(picture);
        unique(m_bitmapIds, picture.id, line, "bitmap");
        script.toolbars.push_back(std::move(toolbar));
        unique(m_toolbarIds, picture.id, line, "toolbar");
      } else {
        line.fail("unknown resource '" + kind + "'");
      }
    }
    return script;
  }

 private:
  void unique(std::set<long>& ids, long id, const Line& line, const std::string& kind) {
    if (!ids.insert(id).second) line.fail("a second " + kind + " " + std::to_string(id));
  }

  const Line& nextLine(const Line& opening) {
    if (m_next == m_lines.size()) opening.fail("no 'end' for this block");
    return m_lines[m_next++];
  }

  // dialog <id> "<caption>" <x> <y> <cx> <cy>, then style/exstyle/class/control lines, end.
  Dialog dialog(const Line& opening) {
    Dialog d;
    d.id = static_cast<int>(opening.number(1));
    d.caption = opening.text(2);
    d.x = static_cast<int>(opening.number(3));
    d.y = static_cast<int>(opening.number(4));
    d.cx = static_cast<int>(opening.number(5));
    d.cy = static_cast<int>(opening.number(6));
    while (true) {
      const Line& line = nextLine(opening);
      const std::string& kind = line.word(0);
      if (kind == "end") return d;
      if (kind == "style") {
        d.style = styleExpression(line.rest(1), "");
      } else if (kind == "exstyle") {
        d.exStyle = styleExpression(line.rest(1), "");
      } else if (kind == "class") {
        d.className = line.name(1);
      } else if (kind == "control") {
        d.controls.push_back(control(line));
      } else {
        line.fail("unknown dialog line '" + kind + "'");
      }
    }
  }

  // control <class> <id> "<text>" <x> <y> <cx> <cy> [style] [exstyle <style>]
  static Control control(const Line& line) {
    Control c;
    c.className = line.name(1);
    c.id = static_cast<int>(line.number(2));
    c.text = line.text(3);
    c.x = static_cast<int>(line.number(4));
    c.y = static_cast<int>(line.number(5));
    c.cx = static_cast<int>(line.number(6));
    c.cy = static_cast<int>(line.number(7));
    std::string style = line.rest(8);
    std::string exStyle;
    if (const auto ex = style.find("exstyle"); ex != std::string::npos) {
      exStyle = style.substr(ex + 7);
      style = style.substr(0, ex);
    }
    c.style = styleExpression(style, "WS_CHILD | WS_VISIBLE");
    c.exStyle = styleExpression(exStyle, "");
    return c;
  }

  // popup "<text>" … end | item <id> "<text>" [FLAGS…] | separator, until end.
  std::vector<MenuItem> items() {
    const Line& opening = m_lines[m_next - 1];
    std::vector<MenuItem> list;
    while (true) {
      const Line& line = nextLine(opening);
      const std::string& kind = line.word(0);
      if (kind == "end") return list;
      MenuItem item;
      if (kind == "separator") {
        item.separator = true;
        item.flags = kSeparator;
      } else if (kind == "item") {
        item.id = static_cast<unsigned>(line.number(1));
        item.text = line.text(2);
        item.flags = flags(line, 3);
      } else if (kind == "popup") {
        item.text = line.text(1);
        item.flags = kPopup | flags(line, 2);
        item.items = items();
      } else {
        line.fail("unknown menu line '" + kind + "'");
      }
      list.push_back(std::move(item));
    }
  }

  static unsigned flags(const Line& line, std::size_t from) {
    unsigned value = 0;
    for (std::size_t i = from; i < line.size(); ++i) {
      const auto it = menuFlags().find(line.word(i));
      if (it == menuFlags().end()) line.fail("unknown menu flag '" + line.word(i) + "'");
      value |= it->second;
    }
    return value;
  }

  fs::path m_file;
  fs::path m_folder;
  std::vector<Line> m_lines;
  std::size_t m_next = 0;
  std::set<long> m_dialogIds, m_stringIds, m_menuIds, m_bitmapIds, m_iconIds, m_toolbarIds;
  std::set<std::string> m_bitmapNames;
};

}  // namespace

ResourceScript parseScript(const fs::path& file) { return Parser(file).parse(); }

namespace {

std::string keyText(long id) { return std::to_string(id); }
std::string keyText(const std::string& name) { return name; }

template <class T, class Id>
void append(std::vector<T>& into, std::vector<T>& more, Id id, const fs::path& file, const std::string& kind) {
  for (T& item : more) {
    if (std::any_of(into.begin(), into.end(), [&](const T& taken) { return id(taken) == id(item); }))
      throw std::runtime_error(file.string() + ": a second " + kind + " " + keyText(id(item)));
    into.push_back(std::move(item));
  }
}

}  // namespace

void mergeScript(ResourceScript& script, ResourceScript more, const fs::path& file) {
  append(script.dialogs, more.dialogs, [](const Dialog& d) { return d.id; }, file, "dialog");
  append(script.strings, more.strings, [](const StringEntry& s) { return s.id; }, file, "string");
  append(script.menus, more.menus, [](const Menu& m) { return m.id; }, file, "menu");
  append(script.bitmaps, more.bitmaps,
         [](const FileResource& r) { return r.name.empty() ? std::to_string(r.id) : r.name; }, file, "bitmap");
  append(script.icons, more.icons, [](const FileResource& r) { return r.id; }, file, "icon");
  append(script.toolbars, more.toolbars, [](const Toolbar& t) { return t.id; }, file, "toolbar");
}

}  // namespace rc
