#include <machine/Log.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace plat {

namespace {
const std::string& enabledList() {
  static const std::string list = [] {
    const char* env = std::getenv("ORVANE_LOG");
    return env ? "," + std::string(env) + "," : std::string();
  }();
  return list;
}
}  // namespace

bool Log::enabled(std::string_view category) {
  const std::string& list = enabledList();
  if (list.empty()) return false;
  if (list.find(",all,") != std::string::npos) return true;
  return list.find("," + std::string(category) + ",") != std::string::npos;
}

void Log::write(std::string_view category, const char* format, ...) {
  static std::mutex lock;
  std::lock_guard guard(lock);
  std::fprintf(stderr, "[%.*s] ", static_cast<int>(category.size()), category.data());
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

}  // namespace plat
