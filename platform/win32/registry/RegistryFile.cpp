#include <win32/registry/RegistryFile.h>

#include <machine/FileReplacement.h>
#include <machine/IniDocument.h>
#include <machine/Log.h>
#include <win32/registry.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace plat {

namespace fs = std::filesystem;

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

void appendHexByte(std::string& out, unsigned char byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xf];
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "text" with \\, \" and \xHH for control characters.
std::string inQuotes(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (isControl(byte)) {
      out += "\\x";
      appendHexByte(out, byte);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// A key name in a header: "\" separates names, so control characters and "%" are
// written as %HH instead.
std::string headerName(std::string_view name) {
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%' || isControl(byte)) {
      out += '%';
      appendHexByte(out, byte);
    } else {
      out += c;
    }
  }
  return out;
}

std::string hexList(const std::vector<BYTE>& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i) out += ',';
    appendHexByte(out, data[i]);
  }
  return out;
}

std::string_view asText(const std::vector<BYTE>& data, std::size_t count) {
  return {reinterpret_cast<const char*>(data.data()), count};
}

// The strings of REG_MULTI_SZ data when it is a plain list (non-empty strings, each
// NUL-terminated, then one more NUL).
std::optional<std::vector<std::string_view>> multiStrings(const std::vector<BYTE>& data) {
  if (data.empty() || data.back() != 0) return std::nullopt;
  std::vector<std::string_view> items;
  std::string_view rest = asText(data, data.size() - 1);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\0');
    if (end == 0 || end == std::string_view::npos) return std::nullopt;
    items.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  return items;
}

std::string formatData(const RegistryValue& value) {
  const auto& data = value.data;
  const bool terminated = !data.empty() && data.back() == 0;
  switch (value.type) {
    case REG_SZ:
      if (terminated) return "sz:" + inQuotes(asText(data, data.size() - 1));
      break;
    case REG_EXPAND_SZ:
      if (terminated) return "expand:" + inQuotes(asText(data, data.size() - 1));
      break;
    case REG_MULTI_SZ:
      if (auto items = multiStrings(data)) {
        std::string out = "multi:";
        for (std::size_t i = 0; i < items->size(); ++i) out += (i ? "," : "") + inQuotes((*items)[i]);
        return out;
      }
      break;
    case REG_DWORD:
      if (data.size() == 4) {
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x",
                      static_cast<unsigned>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24));
        return text;
      }
      break;
    case REG_BINARY:
      return "hex:" + hexList(data);
  }
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  return prefix + hexList(data);
}

void formatKey(std::string& out, const RegistryKey& key, const std::string& path) {
  out += "[" + path + "]\r\n";
  for (const auto& entry : key.values()) {
    out += entry.name.empty() ? std::string("@") : inQuotes(entry.name);
    out += "=" + formatData(entry.value) + "\r\n";
  }
  out += "\r\n";
  for (const auto& child : key.children()) formatKey(out, *child, path + "\\" + headerName(child->name()));
}

// Readers of a value line: each consumes what it reads from the front of `in` and fails
// cleanly at bad input.
bool take(std::string_view& in, std::string_view word) {
  if (!in.starts_with(word)) return false;
  in.remove_prefix(word.size());
  return true;
}

std::optional<BYTE> hexByte(std::string_view& in) {
  if (in.size() < 2) return std::nullopt;
  const int high = hexDigit(in[0]);
  const int low = hexDigit(in[1]);
  if (high < 0 || low < 0) return std::nullopt;
  in.remove_prefix(2);
  return static_cast<BYTE>(high << 4 | low);
}

std::optional<std::string> quotedText(std::string_view& in) {
  if (!take(in, "\"")) return std::nullopt;
  std::string text;
  while (!in.empty()) {
    const char c = in.front();
    in.remove_prefix(1);
    if (c == '"') return text;
    if (c != '\\') {
      text += c;
    } else if (!in.empty() && (in.front() == '\\' || in.front() == '"')) {
      text += in.front();
      in.remove_prefix(1);
    } else if (take(in, "x")) {
      auto byte = hexByte(in);
      if (!byte) return std::nullopt;
      text += static_cast<char>(*byte);
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<BYTE>> hexBytes(std::string_view& in) {
  std::vector<BYTE> bytes;
  while (!in.empty()) {
    if (!bytes.empty() && !take(in, ",")) return std::nullopt;
    auto byte = hexByte(in);
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
  }
  return bytes;
}

std::optional<DWORD> hexNumber(std::string_view& in) {
  DWORD number = 0;
  std::size_t digits = 0;
  for (; !in.empty() && hexDigit(in.front()) >= 0 && digits < 8; ++digits) {
    number = number << 4 | static_cast<DWORD>(hexDigit(in.front()));
    in.remove_prefix(1);
  }
  return digits ? std::optional<DWORD>(number) : std::nullopt;
}

std::optional<RegistryValue> stringValue(DWORD type, std::string_view& in) {
  auto text = quotedText(in);
  if (!text || !in.empty()) return std::nullopt;
  RegistryValue value{type, {text->begin(), text->end()}};
  value.data.push_back(0);
  return value;
}

std::optional<RegistryValue> multiValue(std::string_view& in) {
  RegistryValue value{REG_MULTI_SZ, {}};
  while (!in.empty()) {
    if (!value.data.empty() && !take(in, ",")) return std::nullopt;
    auto item = quotedText(in);
    if (!item || item->empty()) return std::nullopt;
    value.data.insert(value.data.end(), item->begin(), item->end());
    value.data.push_back(0);
  }
  value.data.push_back(0);
  return value;
}

std::optional<RegistryValue> dwordValue(std::string_view& in) {
  auto number = hexNumber(in);
  if (!number || !in.empty()) return std::nullopt;
  return RegistryValue{REG_DWORD, {BYTE(*number), BYTE(*number >> 8), BYTE(*number >> 16), BYTE(*number >> 24)}};
}

std::optional<RegistryValue> hexValue(std::string_view& in) {
  DWORD type = REG_BINARY;
  if (take(in, "(")) {
    auto number = hexNumber(in);
    if (!number || !take(in, ")")) return std::nullopt;
    type = *number;
  }
  if (!take(in, ":")) return std::nullopt;
  auto bytes = hexBytes(in);
  if (!bytes) return std::nullopt;
  return RegistryValue{type, std::move(*bytes)};
}

std::optional<RegistryValue> parseData(std::string_view& in) {
  if (take(in, "sz:")) return stringValue(REG_SZ, in);
  if (take(in, "expand:")) return stringValue(REG_EXPAND_SZ, in);
  if (take(in, "multi:")) return multiValue(in);
  if (take(in, "dword:")) return dwordValue(in);
  if (take(in, "hex")) return hexValue(in);
  return std::nullopt;
}

// `"name"=data` or `@=data` into the key; false when the line cannot be read.
bool parseValueLine(std::string_view line, RegistryKey& key) {
  std::string_view in = line;
  std::optional<std::string> name = take(in, "@") ? std::optional<std::string>("") : quotedText(in);
  // Nor a value whose name holds a NUL.
  if (!name || name->find('\0') != std::string::npos || !take(in, "=")) return false;
  auto value = parseData(in);
  if (!value) return false;
  key.setValue(*name, std::move(*value));
  return true;
}

std::optional<std::string> decodedHeaderName(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hexDigit(text[i + 1]);
    const int low = hexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    name += static_cast<char>(high << 4 | low);
    i += 2;
  }
  return name;
}

// The key a "[root\a\b]" header names, created as needed; null for an unknown root.
std::shared_ptr<RegistryKey> headerKey(std::string_view path, const RegistryRoots& roots) {
  std::shared_ptr<RegistryKey> key;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    auto name = decodedHeaderName(path.substr(start, end - start));
    // No call can name a key holding a NUL: such a header is not a key of the registry.
    if (!name || name->empty() || name->find('\0') != std::string::npos) return nullptr;
    if (!key) {
      for (const auto& root : roots)
        if (equalsNoCase(root->name(), *name)) key = root;
      if (!key) return nullptr;
    } else {
      key = key->addChild(*name);
    }
    start = end + 1;
  }
  return key;
}

}  // namespace

RegistryFile::WriterLock::WriterLock(const fs::path& lockFile)
    : m_fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
  if (m_fd < 0) {
    PLAT_LOG("registry", "cannot open %s; writing without the lock", lockFile.c_str());
    return;
  }
  while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

RegistryFile::WriterLock::~WriterLock() {
  if (m_fd >= 0) ::close(m_fd);
}

bool RegistryFile::Stamp::operator==(const Stamp& other) const {
  return exists == other.exists && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

RegistryFile::Stamp RegistryFile::stampOf(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return {};
  return {true, info.st_ino, info.st_size, info.st_mtim};
}

RegistryFile::~RegistryFile() {
  if (m_held >= 0) ::close(m_held);
}

void RegistryFile::hold(int fd) {
  if (m_held >= 0) ::close(m_held);
  m_held = fd;
  struct stat info {};
  m_stamp = fd >= 0 && ::fstat(fd, &info) == 0 ? Stamp{true, info.st_ino, info.st_size, info.st_mtim} : Stamp{};
}

bool RegistryFile::exists() const { return stampOf(m_file).exists; }

bool RegistryFile::changedOnDisk() const { return !(stampOf(m_file) == m_stamp); }

void RegistryFile::load(const RegistryRoots& roots) {
  FileReplacement::removeDeadTemporaries(m_file);
  // The stamp is of the very file read, so a replacement made meanwhile still shows as a change.
  const int fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
  hold(fd);
  if (fd < 0) return;
  std::string text;
  char buffer[65536];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      PLAT_LOG("registry", "cannot read %s", m_file.c_str());
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  parse(text, roots);
}

bool RegistryFile::save(const RegistryRoots& roots) {
  int fd = -1;
  if (FileReplacement::replace(m_file, format(roots), &fd) != 0) return false;
  hold(fd);
  return true;
}

std::string RegistryFile::format(const RegistryRoots& roots) {
  std::string out = "; The registry of this machine, one [key] per key, one value per line.\r\n\r\n";
  for (const auto& root : roots) formatKey(out, *root, root->name());
  return out;
}

void RegistryFile::parse(std::string_view text, const RegistryRoots& roots) {
  std::shared_ptr<RegistryKey> key;
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size(); ++number) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    bool understood = false;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      key = close == std::string_view::npos ? nullptr : headerKey(line.substr(1, close - 1), roots);
      understood = key != nullptr;
    } else if (key) {
      understood = parseValueLine(line, *key);
    }
    if (!understood) PLAT_LOG("registry", "skipping line %zu of the registry file", number + 1);
  }
}

}  // namespace plat
