// The Windows a test machine runs, as the version calls and the registry tell it. Inline,
// so the support library needs no registry of its own: the programs that use it link one.
#pragma once

#include <machine/Machine.h>
#include <win32/registry.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace test {

// The platform (2 NT, 1 9x), major and minor version the version calls answer.
inline void SetWindowsVersion(plat::Machine& machine, int platform, int major, int minor) {
  plat::IniDocument& ini = machine.ini();
  ini.setValue("Windows", "PlatformId", std::to_string(platform));
  ini.setValue("Windows", "MajorVersion", std::to_string(major));
  ini.setValue("Windows", "MinorVersion", std::to_string(minor));
}

// The product name under HKLM's Windows NT\CurrentVersion.
inline void SetProductName(const char* product) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "ProductName", 0, REG_SZ, reinterpret_cast<const BYTE*>(product),
                 static_cast<DWORD>(std::strlen(product) + 1));
  RegCloseKey(key);
}

}  // namespace test
