#include "windows/media/MediaFileKinds.h"

#include <cstring>
#include <strings.h>

namespace {

// The last `n` characters of the path equal `ending`, ignoring case; false for a path
// shorter than that (nothing before the path is read).
bool EndsWith(LPCSTR path, std::size_t length, std::size_t n, const char* ending) {
  return length >= n && strcasecmp(path + length - n, ending) == 0;
}

struct Format {
  const char* ending;
  unsigned long code;
};

// In the order they are tried: the first match wins.
constexpr Format kFormats[] = {
    {"bmp", 1},  {"gif", 2},  {"jpg", 3},  {"jpeg", 3}, {"png", 4},  {"ico", 5},  {"tif", 6},
    {"tiff", 6}, {"tga", 7},  {"pcx", 8},  {"wmf", 10}, {"emf", 10}, {"j2k", 11}, {"jp2", 11},
    {"j2c", 12}, {"jpc", 12}, {"pgx", 13}, {"pnm", 14}, {"pgm", 14}, {"ppm", 14}, {"ras", 15},
};

constexpr const char* kVideoExtensions[] = {"mpg", "avi", "mpeg", "rmvb", "rm", "mp3", "asf"};

}  // namespace

unsigned long GetImageFormatFromExtension(LPCSTR path) {
  if (!path) return 0;
  const std::size_t length = std::strlen(path);
  for (const Format& format : kFormats)
    if (EndsWith(path, length, std::strlen(format.ending), format.ending)) return format.code;
  return 0;
}

BOOL IsVideoFile(LPCSTR path) {
  if (!path) return FALSE;
  const char* dot = std::strrchr(path, '.');
  if (!dot) return FALSE;
  for (const char* extension : kVideoExtensions)
    if (strcasecmp(dot + 1, extension) == 0) return TRUE;
  return FALSE;
}
