// An INI file held as its lines, read and changed with Windows' profile rules:
// section and key names compare without case, names and values are trimmed, the first
// match wins, and a value wrapped in matching quotes loses them. Changing a value
// rewrites only its line, so comments and order survive a save.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string_view text) { parse(text); }

  // False when the file cannot be read (the document is then empty).
  bool load(const std::filesystem::path& file);
  // Replaces the file through FileReplacement: the old file stays whole when this fails.
  bool save(const std::filesystem::path& file) const;
  void parse(std::string_view text);
  std::string text() const;

  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string valueOr(std::string_view section, std::string_view key, std::string_view fallback) const;
  int intValue(std::string_view section, std::string_view key, int fallback) const;
  bool hasSection(std::string_view section) const;

  void setValue(std::string_view section, std::string_view key, std::string_view value);
  void removeKey(std::string_view section, std::string_view key);
  void removeSection(std::string_view section);

  // Names in file order, each once (first spelling kept).
  std::vector<std::string> sectionNames() const;
  std::vector<std::string> keyNames(std::string_view section) const;

 private:
  struct Line {
    std::string raw;
  };
  // Index of the first "[section]" line, or npos.
  std::size_t findSection(std::string_view section) const;
  // Index one past the last line that belongs to the section starting at `header`.
  std::size_t sectionEnd(std::size_t header) const;
  std::size_t findKey(std::size_t header, std::string_view key) const;

  std::vector<Line> m_lines;
};

// Compares two names as Windows compares profile and registry names (ASCII, no case).
bool equalsNoCase(std::string_view a, std::string_view b);
std::string_view trimmed(std::string_view text);

}  // namespace plat
