// Why a CFile operation failed: the cause as one of the values below and the Windows
// error code behind it. CFile::Open fills one when given; nothing throws it.
#pragma once

#include <mfc/CObject.h>

class CFileException : public CObject {
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1) : m_cause(cause), m_lOsError(lOsError) {}

  // The cause that corresponds to a GetLastError code.
  static int PASCAL OsErrorToException(LONG lOsError);

  int m_cause;
  LONG m_lOsError;
};
