// The fixture of the file classes' tests: a fresh machine, and files' bytes read and
// written whole through a plain CFile.
#pragma once

#include <mfc/CFile.h>

#include <support/TestMachine.h>

#include <gtest/gtest.h>

#include <string>

namespace mfctest {

class FileTest : public test::MachineTest {
 protected:
  // The file's bytes; "<missing>" when it cannot be opened.
  static std::string rawBytes(LPCSTR path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead)) return "<missing>";
    std::string bytes(file.GetLength(), '\0');
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    return bytes;
  }
  // Makes the file hold exactly `bytes`.
  static void writeRaw(LPCSTR path, const std::string& bytes) {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  }
};

}  // namespace mfctest
