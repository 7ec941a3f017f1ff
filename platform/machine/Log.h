// Debug output of the platform, one category per module, off by default.
// ORVANE_LOG=cat1,cat2 (or "all") turns categories on; lines go to stderr.
#pragma once

#include <string_view>

namespace plat {

class Log {
 public:
  static bool enabled(std::string_view category);
  static void write(std::string_view category, const char* format, ...) __attribute__((format(printf, 2, 3)));
};

}  // namespace plat

#define PLAT_LOG(category, ...)                                   \
  do {                                                            \
    if (::plat::Log::enabled(category)) ::plat::Log::write(category, __VA_ARGS__); \
  } while (0)
