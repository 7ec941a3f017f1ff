#include <win32/file/Win32Error.h>

#include <win32/file.h>

#include <cerrno>

namespace plat {

DWORD win32Error(int err) {
  switch (err) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    default:  // EACCES, EPERM, EISDIR, EROFS and whatever else refuses the call
      return ERROR_ACCESS_DENIED;
  }
}

}  // namespace plat
