// The Windows error code for a Linux errno, as the kernel stand-ins report failures of
// the real file system through GetLastError.
#pragma once

#include <win32/types.h>

namespace plat {

// ENOENT gives ERROR_FILE_NOT_FOUND; callers that can tell a missing folder from a
// missing file refine it to ERROR_PATH_NOT_FOUND.
DWORD win32Error(int err);

}  // namespace plat
