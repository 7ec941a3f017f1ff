#include <win32/user/WindowDirectory.h>

#include <machine/Log.h>
#include <machine/ProcessStat.h>
#include <win32/error.h>
#include <win32/thread.h>
#include <win32/user/Desktop.h>
#include <win32/user/MessageDelivery.h>
#include <win32/user/UserSystem.h>
#include <win32/user/usererror.h>

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace plat {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kMagic = 0x4F52574Du;  // "ORWM"
constexpr std::uint32_t kPost = 1;
constexpr std::uint32_t kSend = 2;
constexpr std::uint32_t kPicture = 3;
constexpr int kPostReplyTimeoutMs = 5000;

struct Request {
  std::uint32_t magic;
  std::uint32_t kind;
  std::uint64_t hwnd;
  std::uint32_t message;
  std::uint32_t reserved;
  std::uint64_t wParam;
  std::int64_t lParam;
};
static_assert(sizeof(Request) == 40);

struct Reply {
  std::uint32_t delivered;
  std::uint32_t reserved;
  std::int64_t result;
};
static_assert(sizeof(Reply) == 16);

// The start time of a live process, which tells it from a younger one that got the same
// id; none for a process that has ended, zombies included: an ended program has no windows.
std::optional<std::uint64_t> startTimeOf(DWORD processId) { return ProcessStat::startTime(static_cast<int>(processId)); }

std::string escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

bool writeAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads exactly `size` bytes, giving up after `timeoutMs` without progress.
bool readAll(int fd, void* data, std::size_t size, int timeoutMs) {
  auto* bytes = static_cast<char*>(data);
  while (size > 0) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    const ssize_t n = ::recv(fd, bytes, size, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string hex(HWND hwnd) {
  char name[32];
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
  return name;
}

bool fillAddress(sockaddr_un& address, const fs::path& path) {
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  const std::string text = path.string();
  if (text.size() >= sizeof address.sun_path) return false;
  text.copy(address.sun_path, text.size());
  return true;
}

}  // namespace

WindowDirectory::WindowDirectory(UserSystem& system, fs::path runFolder)
    : m_system(system),
      m_runFolder(std::move(runFolder)),
      m_windowsFolder(m_runFolder / "windows"),
      m_startTime(startTimeOf(GetCurrentProcessId()).value_or(0)) {
  std::error_code ec;
  fs::create_directories(m_windowsFolder, ec);
  listen();
}

WindowDirectory::~WindowDirectory() {
  if (m_listener.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(m_stopFd, &one, sizeof one);
    m_listener.join();
  }
  if (m_stopFd >= 0) close(m_stopFd);
  if (m_listenFd >= 0) {
    close(m_listenFd);
    std::error_code ec;
    fs::remove(socketPath(GetCurrentProcessId()), ec);
  }
  // Our entries go with us.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(m_windowsFolder, ec)) {
    const auto parsed = readEntry(entry.path());
    if (parsed && parsed->processId == GetCurrentProcessId()) fs::remove(entry.path(), ec);
  }
}

fs::path WindowDirectory::entryPath(HWND hwnd) const { return m_windowsFolder / (hex(hwnd) + ".win"); }

fs::path WindowDirectory::socketPath(DWORD processId) const {
  return m_runFolder / (std::to_string(processId) + ".sock");
}

void WindowDirectory::publish(const Entry& entry) {
  std::ostringstream text;
  text << "pid=" << GetCurrentProcessId() << "\nstart=" << m_startTime << "\nthread=" << entry.threadId
       << "\nhwnd=" << hex(entry.hwnd) << "\nclass=" << escape(entry.className) << "\ntitle=" << escape(entry.title)
       << "\nraised=" << entry.raisedAt << "\nexstyle=" << entry.exStyle << "\n";
  // Written aside and renamed, so a reader never sees half an entry.
  const fs::path file = entryPath(entry.hwnd);
  const fs::path temporary = file.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text.str();
  }
  std::error_code ec;
  fs::rename(temporary, file, ec);
}

void WindowDirectory::unpublish(HWND hwnd) {
  std::error_code ec;
  fs::remove(entryPath(hwnd), ec);
}

std::optional<WindowDirectory::Entry> WindowDirectory::readEntry(const fs::path& file) const {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::map<std::string, std::string> fields;
  for (std::string line; std::getline(in, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
  }
  try {
    Entry entry;
    entry.processId = static_cast<DWORD>(std::stoul(fields.at("pid")));
    entry.threadId = static_cast<DWORD>(std::stoul(fields.at("thread")));
    entry.hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(fields.at("hwnd"), nullptr, 16)));
    entry.className = unescape(fields.at("class"));
    entry.title = unescape(fields.at("title"));
    entry.raisedAt = std::stoll(fields.at("raised"));
    entry.exStyle = static_cast<DWORD>(std::stoul(fields.at("exstyle")));
    const std::uint64_t start = std::stoull(fields.at("start"));
    if (entry.processId != GetCurrentProcessId() && startTimeOf(entry.processId) != start) return std::nullopt;
    return entry;
  } catch (...) {
    return std::nullopt;
  }
}

std::vector<WindowDirectory::Entry> WindowDirectory::otherWindows() {
  std::vector<Entry> entries;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(m_windowsFolder, ec)) {
    if (item.path().extension() != ".win") continue;
    const auto entry = readEntry(item.path());
    if (!entry) {
      // A dead process's window (or an unreadable entry): gone for good.
      std::error_code removeError;
      fs::remove(item.path(), removeError);
      continue;
    }
    if (entry->processId != GetCurrentProcessId()) entries.push_back(*entry);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.raisedAt > b.raisedAt; });
  return entries;
}

std::optional<WindowDirectory::Entry> WindowDirectory::find(HWND hwnd) {
  const auto entry = readEntry(entryPath(hwnd));
  if (!entry) {
    std::error_code ec;
    fs::remove(entryPath(hwnd), ec);
  }
  return entry;
}

void WindowDirectory::forgetProcess(DWORD processId) {
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(m_windowsFolder, ec)) {
    if (!readEntry(item.path())) fs::remove(item.path(), ec);
  }
  if (!startTimeOf(processId)) fs::remove(socketPath(processId), ec);
}

int WindowDirectory::connectTo(DWORD processId) {
  sockaddr_un address;
  if (!fillAddress(address, socketPath(processId))) return -1;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    forgetProcess(processId);
    return -1;
  }
  return fd;
}

LRESULT WindowDirectory::send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int fd = connectTo(WindowTable::processOf(hwnd));
  const Request request{kMagic, kSend, reinterpret_cast<std::uintptr_t>(hwnd), message, 0, wParam, lParam};
  if (fd < 0 || !writeAll(fd, &request, sizeof request)) {
    if (fd >= 0) close(fd);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  Reply reply{};
  std::size_t received = 0;
  bool finished = false;
  const auto readReply = [&] {
    const ssize_t n = ::recv(fd, reinterpret_cast<char*>(&reply) + received, sizeof reply - received, MSG_DONTWAIT);
    if (n > 0) received += static_cast<std::size_t>(n);
    // A closed connection ends the wait too: the other process has gone.
    if (received == sizeof reply || n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) finished = true;
  };
  MessageDelivery::waitUntil(*m_system.queue(), [&] { return finished; }, fd, readReply);
  close(fd);
  if (received != sizeof reply || !reply.delivered) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<LRESULT>(reply.result);
}

bool WindowDirectory::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const int fd = connectTo(WindowTable::processOf(hwnd));
  const Request request{kMagic, kPost, reinterpret_cast<std::uintptr_t>(hwnd), message, 0, wParam, lParam};
  Reply reply{};
  const bool answered = fd >= 0 && writeAll(fd, &request, sizeof request) &&
                        readAll(fd, &reply, sizeof reply, kPostReplyTimeoutMs);
  if (fd >= 0) close(fd);
  if (!answered || !reply.delivered) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  return true;
}

std::vector<std::vector<std::uint8_t>> WindowDirectory::otherPrograms() {
  std::vector<DWORD> programs;
  for (const Entry& entry : otherWindows())
    if (std::find(programs.begin(), programs.end(), entry.processId) == programs.end()) programs.push_back(entry.processId);
  std::vector<std::vector<std::uint8_t>> pictures;
  for (const DWORD processId : programs) pictures.push_back(pictureOf(processId));
  return pictures;
}

// The reply is its length (64 bits) and the bytes; a program that has gone gives none.
std::vector<std::uint8_t> WindowDirectory::pictureOf(DWORD processId) {
  const int fd = connectTo(processId);
  const Request request{kMagic, kPicture, 0, 0, 0, 0, 0};
  if (fd < 0 || !writeAll(fd, &request, sizeof request)) {
    if (fd >= 0) close(fd);
    return {};
  }
  std::uint64_t length = 0;
  std::size_t lengthRead = 0;
  std::vector<std::uint8_t> bytes;
  std::size_t received = 0;
  bool finished = false;
  const auto readReply = [&] {
    ssize_t n = 0;
    if (lengthRead < sizeof length) {
      n = ::recv(fd, reinterpret_cast<char*>(&length) + lengthRead, sizeof length - lengthRead, MSG_DONTWAIT);
      if (n > 0) lengthRead += static_cast<std::size_t>(n);
      if (lengthRead == sizeof length) bytes.resize(static_cast<std::size_t>(length));
    } else {
      n = ::recv(fd, bytes.data() + received, bytes.size() - received, MSG_DONTWAIT);
      if (n > 0) received += static_cast<std::size_t>(n);
    }
    const bool whole = lengthRead == sizeof length && received == bytes.size();
    if (whole || n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) finished = true;
  };
  MessageDelivery::waitUntil(*m_system.queue(), [&] { return finished; }, fd, readReply);
  close(fd);
  if (lengthRead != sizeof length || received != bytes.size()) return {};
  return bytes;
}

void WindowDirectory::listen() {
  sockaddr_un address;
  const fs::path path = socketPath(GetCurrentProcessId());
  if (!fillAddress(address, path)) {
    PLAT_LOG("user", "window socket path too long, other programs cannot reach this one: %s", path.c_str());
    return;
  }
  std::error_code ec;
  fs::remove(path, ec);
  m_listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (m_listenFd < 0 || bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(m_listenFd, 16) != 0) {
    PLAT_LOG("user", "cannot listen on %s: errno %d", path.c_str(), errno);
    if (m_listenFd >= 0) close(m_listenFd);
    m_listenFd = -1;
    return;
  }
  m_stopFd = eventfd(0, EFD_CLOEXEC);
  m_listener = std::thread([this] { serve(); });
}

void WindowDirectory::serve() {
  while (true) {
    pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int connection = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) answer(connection);
  }
}

void WindowDirectory::answer(int connection) {
  Request request{};
  constexpr int kRequestTimeoutMs = 1000;
  if (!readAll(connection, &request, sizeof request, kRequestTimeoutMs) || request.magic != kMagic) {
    close(connection);
    return;
  }
  if (request.kind == kPicture) {
    answerPicture(connection);
    return;
  }
  const auto hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.hwnd));
  std::shared_ptr<MessageQueue> queue;
  POINT cursor{};
  {
    std::lock_guard guard(m_system.lock());
    if (const auto window = m_system.window(hwnd)) queue = m_system.queueOf(window->threadId);
    cursor = m_system.input().cursor();
  }
  const auto reply = [connection](bool delivered, LRESULT result) {
    const Reply answer{delivered ? 1u : 0u, 0, result};
    writeAll(connection, &answer, sizeof answer);
    close(connection);
  };
  if (!queue) {
    reply(false, 0);
    return;
  }
  const auto wParam = static_cast<WPARAM>(request.wParam);
  const auto lParam = static_cast<LPARAM>(request.lParam);
  if (request.kind == kPost) {
    const MSG msg{hwnd, request.message, wParam, lParam, static_cast<DWORD>(m_system.clock().tickMs()), cursor};
    reply(queue->post(msg), 0);
    return;
  }
  // The reply leaves from the thread that handled the message, when it has.
  queue->deliver(std::make_shared<SentMessage>(hwnd, request.message, wParam, lParam,
                                               [reply](LRESULT result) { reply(true, result); }));
}

// Drawn on the thread of the program's front top-level window, where its windows paint,
// when that thread next handles what is sent to it.
void WindowDirectory::answerPicture(int connection) {
  std::shared_ptr<MessageQueue> queue;
  HWND front = nullptr;
  {
    std::lock_guard guard(m_system.lock());
    for (HWND hwnd : m_system.windows().topLevel()) {
      if (const auto window = m_system.window(hwnd)) {
        queue = m_system.queueOf(window->threadId);
        front = hwnd;
        if (queue) break;
      }
    }
  }
  const auto reply = [connection](const std::vector<std::uint8_t>& bytes) {
    const std::uint64_t length = bytes.size();
    if (writeAll(connection, &length, sizeof length)) writeAll(connection, bytes.data(), bytes.size());
    close(connection);
  };
  if (!queue) {
    reply({});
    return;
  }
  // A thread that ends before it gets to the request completes it undone: an empty reply.
  auto answered = std::make_shared<bool>(false);
  auto sent = std::make_shared<SentMessage>(front, WM_NULL, 0, 0, [reply, answered](LRESULT) {
    if (!*answered) reply({});
  });
  sent->task = [reply, answered] {
    *answered = true;
    reply(Desktop::thisProgram());
    return LRESULT{0};
  };
  queue->deliver(sent);
}

}  // namespace plat
