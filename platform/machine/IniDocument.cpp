#include <machine/IniDocument.h>

#include <machine/FileReplacement.h>

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace plat {

namespace {

constexpr std::size_t npos = std::string::npos;

// The section name of a "[name]" line, if the line is one.
std::optional<std::string_view> sectionHeader(std::string_view line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == npos) return std::nullopt;
  return trimmed(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
  line = trimmed(line);
  return !line.empty() && line.front() == ';';
}

// The key of a "key=value" line, if the line is one.
std::optional<std::string_view> keyOf(std::string_view line) {
  if (isComment(line) || sectionHeader(line)) return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == npos) return std::nullopt;
  return trimmed(line.substr(0, eq));
}

std::string_view rawValueOf(std::string_view line) { return trimmed(line.substr(line.find('=') + 1)); }

std::string unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return std::string(value.substr(1, value.size() - 2));
  return std::string(value);
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string_view trimmed(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

bool IniDocument::load(const std::filesystem::path& file) {
  FileReplacement::removeDeadTemporaries(file);
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    m_lines.clear();
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  parse(content.str());
  return true;
}

bool IniDocument::save(const std::filesystem::path& file) const {
  return FileReplacement::replace(file, text()) == 0;
}

void IniDocument::parse(std::string_view text) {
  m_lines.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    m_lines.push_back({std::string(line)});
    start = end + 1;
  }
}

std::string IniDocument::text() const {
  std::string out;
  for (const Line& line : m_lines) {
    out += line.raw;
    out += "\r\n";
  }
  return out;
}

std::size_t IniDocument::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    auto name = sectionHeader(m_lines[i].raw);
    if (name && equalsNoCase(*name, trimmed(section))) return i;
  }
  return npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < m_lines.size() && !sectionHeader(m_lines[i].raw)) ++i;
  return i;
}

std::size_t IniDocument::findKey(std::size_t header, std::string_view key) const {
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    auto name = keyOf(m_lines[i].raw);
    if (name && equalsNoCase(*name, trimmed(key))) return i;
  }
  return npos;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
  const std::size_t header = findSection(section);
  if (header == npos) return std::nullopt;
  const std::size_t line = findKey(header, key);
  if (line == npos) return std::nullopt;
  return unquoted(rawValueOf(m_lines[line].raw));
}

std::string IniDocument::valueOr(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto found = value(section, key);
  return found ? *found : std::string(fallback);
}

int IniDocument::intValue(std::string_view section, std::string_view key, int fallback) const {
  auto found = value(section, key);
  if (!found) return fallback;
  int result = 0;
  std::string_view text = trimmed(*found);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
  return ec == std::errc() && end != text.data() ? result : fallback;
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section) != npos; }

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(trimmed(key)) + "=" + std::string(value);
  std::size_t header = findSection(section);
  if (header == npos) {
    m_lines.push_back({"[" + std::string(trimmed(section)) + "]"});
    m_lines.push_back({std::move(line)});
    return;
  }
  const std::size_t existing = findKey(header, key);
  if (existing != npos) {
    m_lines[existing].raw = std::move(line);
    return;
  }
  // After the section's last non-blank line, so a blank separator stays between sections.
  std::size_t insertAt = sectionEnd(header);
  while (insertAt > header + 1 && trimmed(m_lines[insertAt - 1].raw).empty()) --insertAt;
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), {std::move(line)});
}

void IniDocument::removeKey(std::string_view section, std::string_view key) {
  const std::size_t header = findSection(section);
  if (header == npos) return;
  const std::size_t line = findKey(header, key);
  if (line != npos) m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(line));
}

void IniDocument::removeSection(std::string_view section) {
  const std::size_t header = findSection(section);
  if (header == npos) return;
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(header),
                m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : m_lines) {
    auto name = sectionHeader(line.raw);
    if (!name) continue;
    bool seen = false;
    for (const std::string& known : names) seen = seen || equalsNoCase(known, *name);
    if (!seen) names.emplace_back(*name);
  }
  return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = findSection(section);
  if (header == npos) return names;
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    auto name = keyOf(m_lines[i].raw);
    if (!name) continue;
    bool seen = false;
    for (const std::string& known : names) seen = seen || equalsNoCase(known, *name);
    if (!seen) names.emplace_back(*name);
  }
  return names;
}

}  // namespace plat
