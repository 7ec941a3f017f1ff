#include <support/TestMachine.h>

#include <win32/registry.h>
#include <win32/registry/RegistryStore.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kAutoTune = "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-1";

class RegistryTest : public test::MachineTest {
 protected:
  void TearDown() override {
    for (HKEY key : m_opened) RegCloseKey(key);
  }

  HKEY create(HKEY parent, const char* path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, 0, access, nullptr, &key, nullptr), ERROR_SUCCESS) << path;
    m_opened.push_back(key);
    return key;
  }
  HKEY open(HKEY parent, const char* path, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(parent, path, 0, access, &key), ERROR_SUCCESS) << path;
    m_opened.push_back(key);
    return key;
  }
  static void setDword(HKEY key, const char* name, DWORD value) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_SUCCESS);
  }
  static void setString(HKEY key, const char* name, const std::string& text, DWORD type = REG_SZ) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
  }
  // The value's bytes, or its error code as a failure message.
  static std::string bytes(HKEY key, const char* name, DWORD* type = nullptr) {
    DWORD size = 0;
    LSTATUS status = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (status != ERROR_SUCCESS) return "error " + std::to_string(status);
    std::string data(size, '\0');
    status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    return status == ERROR_SUCCESS ? data : "error " + std::to_string(status);
  }
  std::string registryText() {
    std::ifstream in(machine().root() / "registry.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::vector<HKEY> m_opened;
};

TEST_F(RegistryTest, SeededFromMachineIni) {
  // Read as the programs read them: a trailing "\" and a 4-byte or 40-byte buffer.
  HKEY international = open(HKEY_CURRENT_USER, "Control Panel\\International\\");
  char country[4] = {};
  DWORD size = sizeof country;
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExA(international, "iCountry", nullptr, &type, reinterpret_cast<BYTE*>(country), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 2u);
  EXPECT_STREQ(country, "1");

  HKEY version = open(HKEY_LOCAL_MACHINE, kVersionKey);
  char product[40] = {};
  size = sizeof product;
  ASSERT_EQ(RegQueryValueExA(version, "ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(product), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(product, "Microsoft Windows XP");
  EXPECT_EQ(size, 21u);
  EXPECT_EQ(bytes(version, "CurrentVersion"), std::string("5.1\0", 4));
}

TEST_F(RegistryTest, SeedingFollowsTheMachineAndLeavesOutWhatItLacks) {
  machine().ini().setValue("Windows", "RegionCountry", "44");
  machine().ini().setValue("Windows", "ProductName", "Microsoft Windows Vista (TM) Ultimate Edition");
  machine().ini().removeKey("Windows", "MinorVersion");
  EXPECT_EQ(bytes(open(HKEY_CURRENT_USER, "Control Panel\\International"), "iCountry"), std::string("44\0", 3));
  HKEY version = open(HKEY_LOCAL_MACHINE, kVersionKey);
  // Longer than a 40-byte buffer: the caller learns the size it needs.
  char product[40];
  DWORD size = sizeof product;
  EXPECT_EQ(RegQueryValueExA(version, "ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(product), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 46u);
  EXPECT_EQ(bytes(version, "CurrentVersion"), "error 2");
}

TEST_F(RegistryTest, NoSeedWhenTheMachineHasNoEntry) {
  machine().ini().removeKey("Windows", "RegionCountry");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryTest, CreateReportsDispositionAndMakesEveryLevel) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAutoTune, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\microsoft\\tv system services\\tvautotune\\ts86-1\\", 0,
                            nullptr, 0, KEY_READ, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  // Each level exists on its own, spelt as first created.
  HKEY services = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\MICROSOFT\\TV SYSTEM SERVICES");
  char name[32];
  DWORD length = sizeof name;
  ASSERT_EQ(RegEnumKeyExA(services, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "TVAutoTune");
  EXPECT_EQ(length, 10u);

  HKEY viaOldCall = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Orvane", &viaOldCall), ERROR_SUCCESS);
  setDword(viaOldCall, "x", 1);  // full access
  HKEY same = nullptr;
  EXPECT_EQ(RegCreateKeyA(viaOldCall, "", &same), ERROR_SUCCESS);
  EXPECT_EQ(same, viaOldCall);
  EXPECT_EQ(RegOpenKeyA(viaOldCall, nullptr, &same), ERROR_SUCCESS);
  EXPECT_EQ(same, viaOldCall);
  EXPECT_EQ(RegCloseKey(viaOldCall), ERROR_SUCCESS);
}

TEST_F(RegistryTest, BadHandlesPathsAndMissingKeys) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nothing Here", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\SOFTWARE", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x4242), "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(nullptr, "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);

  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(opened), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(opened), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegFlushKey(opened), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);  // predefined keys stay open
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(opened), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ValuesKeepTypeAndBytes) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Orvane\\Types");
  setDword(key, "Frequency", 471250000);
  setString(key, "Text", "hello");
  setString(key, "Path", "%SystemRoot%\\x", REG_EXPAND_SZ);
  const char multi[] = "one\0two\0";
  ASSERT_EQ(RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
            ERROR_SUCCESS);
  const BYTE blob[] = {0, 1, 0, 0xff};
  ASSERT_EQ(RegSetValueExA(key, "Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "Bad", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);

  DWORD type = 0;
  DWORD frequency = 0;
  DWORD size = sizeof frequency;
  ASSERT_EQ(RegQueryValueExA(key, "frequency", nullptr, &type, reinterpret_cast<BYTE*>(&frequency), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(frequency, 471250000u);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(bytes(key, "Text", &type), std::string("hello\0", 6));
  EXPECT_EQ(bytes(key, "Path", &type), std::string("%SystemRoot%\\x\0", 15));
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(bytes(key, "List", &type), std::string("one\0two\0\0", 9));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(bytes(key, "Blob", &type), std::string("\0\1\0\xff", 4));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(bytes(key, "Empty"), "");
  EXPECT_EQ(bytes(key, "Bad"), "error 2");

  // Setting again under another spelling replaces type and data.
  setString(key, "FREQUENCY", "now text");
  EXPECT_EQ(bytes(key, "Frequency", &type), std::string("now text\0", 9));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryTest, QuerySizeRules) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Orvane\\Sizes");
  setString(key, "Name", "abcdef");  // 7 bytes with the NUL
  DWORD type = 0;
  DWORD size = 0;
  // No buffer: the size only.
  ASSERT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // Too small: ERROR_MORE_DATA with the size needed, the type still reported.
  char small[4] = {'#', '#', '#', '#'};
  size = sizeof small;
  type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // Exactly the size fits.
  char exact[7];
  size = sizeof exact;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), &size), ERROR_SUCCESS);
  EXPECT_STREQ(exact, "abcdef");
  // A buffer without a size is a bad call; a bare existence check is fine.
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

  // A string stored without its NUL comes back without one, as on Windows.
  ASSERT_EQ(RegSetValueExA(key, "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("VISTA"), 5), ERROR_SUCCESS);
  EXPECT_EQ(bytes(key, "Raw"), "VISTA");
}

TEST_F(RegistryTest, DefaultValueByNullOrEmptyName) {
  HKEY key = create(HKEY_CLASSES_ROOT, "CLSID\\{B84585A5-237B-426B-8B07-3C6616AE7EC9}");
  EXPECT_EQ(bytes(key, nullptr), "error 2");
  setString(key, nullptr, "Branchel Fan-out Tee");
  EXPECT_EQ(bytes(key, ""), std::string("Branchel Fan-out Tee\0", 21));
  setString(key, "", "renamed");
  EXPECT_EQ(bytes(key, nullptr), std::string("renamed\0", 8));
  EXPECT_EQ(RegDeleteValueA(key, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(bytes(key, ""), "error 2");
}

TEST_F(RegistryTest, AccessRightsOfTheHandleAreEnforced) {
  create(HKEY_CURRENT_USER, "Software\\Orvane\\Rights\\Child");
  HKEY reading = open(HKEY_CURRENT_USER, "Software\\Orvane\\Rights", KEY_READ);
  EXPECT_EQ(RegSetValueExA(reading, "v", 0, REG_BINARY, nullptr, 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueA(reading, "v"), ERROR_ACCESS_DENIED);
  HKEY key = nullptr;
  // Opening an existing key through it is allowed, creating a new one is not.
  EXPECT_EQ(RegCreateKeyExA(reading, "Child", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExA(reading, "New", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr), ERROR_ACCESS_DENIED);

  HKEY writing = open(HKEY_CURRENT_USER, "Software\\Orvane\\Rights", KEY_WRITE);
  setDword(writing, "v", 5);
  EXPECT_EQ(RegQueryValueExA(writing, "v", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  char name[16];
  DWORD length = sizeof name;
  EXPECT_EQ(RegEnumKeyExA(writing, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(bytes(reading, "v"), std::string("\5\0\0\0", 4));
}

TEST_F(RegistryTest, DeleteRules) {
  HKEY leaf = create(HKEY_LOCAL_MACHINE, kAutoTune);
  setDword(leaf, "5", 175250000);
  EXPECT_EQ(RegDeleteValueA(leaf, "5"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(leaf, "5"), ERROR_FILE_NOT_FOUND);

  // A key with sub-keys stays; a leaf goes, and handles on it report the deletion.
  HKEY parent = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune");
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\TV System Services"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(parent, "ts86-1"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(parent, "TS86-1"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(leaf, "5", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueExA(leaf, "5", 0, REG_BINARY, nullptr, 0), ERROR_KEY_DELETED);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAutoTune, 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);

  // A new key of the same name is a different key: the old handle stays deleted.
  create(HKEY_LOCAL_MACHINE, kAutoTune);
  EXPECT_EQ(RegQueryValueExA(leaf, "5", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteKeyA(parent, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, EnumerationOrderAndEnd) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Orvane\\Enum");
  for (const char* name : {"beta", "_under", "Alpha", "gamma"}) create(key, name);
  std::vector<std::string> keys;
  char name[32];
  DWORD index = 0;
  for (;; ++index) {
    DWORD length = sizeof name;
    const LSTATUS status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(length, std::strlen(name));
    keys.push_back(name);
  }
  // Upper-cased order, as Windows NT sorts: "_" comes after the letters.
  EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "beta", "gamma", "_under"}));
  DWORD length = 5;  // "Alpha" needs 6 with its NUL
  EXPECT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  setDword(key, "zeta", 1);
  setString(key, "Alpha", "first");
  setString(key, nullptr, "default");
  std::vector<std::string> values;
  for (index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS status = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    values.push_back(std::string(name) + ":" + std::to_string(type) + ":" + std::to_string(size));
  }
  EXPECT_EQ(values, (std::vector<std::string>{"zeta:4:4", "Alpha:1:6", ":1:8"}));

  // Data too small: the name still comes back, with the size needed.
  DWORD nameLength = sizeof name;
  char data[2];
  DWORD size = sizeof data;
  EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
            ERROR_MORE_DATA);
  EXPECT_STREQ(name, "Alpha");
  EXPECT_EQ(size, 6u);
  nameLength = 4;
  EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  DWORD subKeys = 0, maxSubKey = 0, valueCount = 0, maxValueName = 0, maxValue = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &valueCount, &maxValueName,
                             &maxValue, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 4u);
  EXPECT_EQ(maxSubKey, 6u);  // "_under"
  EXPECT_EQ(valueCount, 3u);
  EXPECT_EQ(maxValueName, 5u);
  EXPECT_EQ(maxValue, 8u);
}

TEST_F(RegistryTest, PersistsAcrossANewRegistryOnTheSameMachine) {
  HKEY key = create(HKEY_LOCAL_MACHINE, kAutoTune);
  setDword(key, "12", 224250000);
  const char multi[] = "a\0b\0";
  ASSERT_EQ(RegSetValueExA(key, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
            ERROR_SUCCESS);
  create(HKEY_CURRENT_USER, "Software\\Orvane\\Empty Key");

  plat::Machine reopened(machine().root());
  auto& registry = reopened.service<plat::RegistryStore>();
  HKEY copy = nullptr;
  ASSERT_EQ(registry.openKey(HKEY_LOCAL_MACHINE, kAutoTune, KEY_READ, copy), ERROR_SUCCESS);
  plat::RegistryValue value;
  ASSERT_EQ(registry.queryValue(copy, "12", value), ERROR_SUCCESS);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value.data, (std::vector<BYTE>{0x90, 0xc8, 0x5d, 0x0d}));
  ASSERT_EQ(registry.queryValue(copy, "multi", value), ERROR_SUCCESS);
  EXPECT_EQ(value.data.size(), 5u);
  HKEY empty = nullptr;
  EXPECT_EQ(registry.openKey(HKEY_CURRENT_USER, "software\\orvane\\empty key", KEY_READ, empty), ERROR_SUCCESS);
  std::string name;
  HKEY software = nullptr;
  ASSERT_EQ(registry.openKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", KEY_READ, software), ERROR_SUCCESS);
  ASSERT_EQ(registry.subKeyName(software, 0, name), ERROR_SUCCESS);
  EXPECT_EQ(name, "TV System Services");
}

TEST_F(RegistryTest, TwoRegistriesSeeEachOthersWrites) {
  HKEY mine = create(HKEY_LOCAL_MACHINE, kAutoTune);
  HKEY parent = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune", KEY_ALL_ACCESS);
  create(parent, "TS86-0");

  plat::Machine other(machine().root());
  auto& theirs = other.service<plat::RegistryStore>();
  HKEY key = nullptr;
  ASSERT_EQ(theirs.openKey(HKEY_LOCAL_MACHINE, kAutoTune, KEY_ALL_ACCESS, key), ERROR_SUCCESS);
  ASSERT_EQ(theirs.setValue(key, "7", {REG_DWORD, {1, 2, 3, 4}}), ERROR_SUCCESS);
  EXPECT_EQ(bytes(mine, "7"), "\1\2\3\4");

  setDword(mine, "8", 9);
  plat::RegistryValue value;
  ASSERT_EQ(theirs.queryValue(key, "8", value), ERROR_SUCCESS);
  EXPECT_EQ(value.data, (std::vector<BYTE>{9, 0, 0, 0}));

  // A key the other side deletes is deleted for our open handle too; others stay usable.
  ASSERT_EQ(theirs.deleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-0"),
            ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(parent, "TS86-0", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(bytes(mine, "8"), std::string("\x09\0\0\0", 4));
  ASSERT_EQ(theirs.closeKey(key), ERROR_SUCCESS);
  ASSERT_EQ(theirs.deleteKey(HKEY_LOCAL_MACHINE, kAutoTune), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(mine, "8", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
}

TEST_F(RegistryTest, QuickSuccessiveWritesAreAllSeen) {
  HKEY mine = create(HKEY_CURRENT_USER, "Software\\Orvane");
  setDword(mine, "x", 0);
  plat::Machine other(machine().root());
  auto& theirs = other.service<plat::RegistryStore>();
  HKEY key = nullptr;
  ASSERT_EQ(theirs.openKey(HKEY_CURRENT_USER, "Software\\Orvane", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
  // Same size each time, well within one tick of the file system's clock.
  for (BYTE i = 1; i <= 3; ++i) {
    ASSERT_EQ(theirs.setValue(key, "x", {REG_DWORD, {i, 0, 0, 0}}), ERROR_SUCCESS);
    ASSERT_EQ(theirs.setValue(key, "x", {REG_DWORD, {BYTE(i + 100), 0, 0, 0}}), ERROR_SUCCESS);
    EXPECT_EQ(bytes(mine, "x"), std::string(1, char(i + 100)) + std::string(3, '\0'));
  }
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  HKEY mine = create(HKEY_CURRENT_USER, "Software\\Race");
  plat::Machine other(machine().root());
  auto& theirs = other.service<plat::RegistryStore>();
  HKEY key = nullptr;
  ASSERT_EQ(theirs.openKey(HKEY_CURRENT_USER, "Software\\Race", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
  constexpr int kEach = 100;
  std::thread writer([&] {
    for (int i = 0; i < kEach; ++i) theirs.setValue(key, "b" + std::to_string(i), {REG_DWORD, {1, 0, 0, 0}});
  });
  for (int i = 0; i < kEach; ++i) setDword(mine, ("a" + std::to_string(i)).c_str(), 1);
  writer.join();

  plat::Machine third(machine().root());
  auto& fresh = third.service<plat::RegistryStore>();
  HKEY race = nullptr;
  ASSERT_EQ(fresh.openKey(HKEY_CURRENT_USER, "Software\\Race", KEY_READ, race), ERROR_SUCCESS);
  plat::RegistryKeyInfo info;
  ASSERT_EQ(fresh.keyInfo(race, info), ERROR_SUCCESS);
  EXPECT_EQ(info.values, 2u * kEach);
}

TEST_F(RegistryTest, FileIsReadableTextWrittenWithoutLeftovers) {
  HKEY key = create(HKEY_LOCAL_MACHINE, kAutoTune);
  setDword(key, "12", 0x0d5dd210);
  const BYTE blob[] = {2, 0, 0x20, 0xff};
  ASSERT_EQ(RegSetValueExA(key, "FilterData", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  const std::string text = registryText();
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"ProductName\"=sz:\"Microsoft Windows XP\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\TV System Services\\TVAutoTune\\TS86-1]\r\n"
                      "\"12\"=dword:0d5dd210\r\n\"FilterData\"=hex:02,00,20,ff\r\n"),
            std::string::npos);
  for (const auto& entry : fs::directory_iterator(machine().root()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(RegistryTest, HandEditedFileIsReadAndBadLinesSkipped) {
  {
    // Make the registry, then replace its file as another program or a person would.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  std::ofstream(machine().root() / "registry.ini.new", std::ios::binary)
      << "; edited\n"
         "[HKEY_CURRENT_USER\\Control Panel\\International]\n"
         "\"iCountry\"=sz:\"86\"   \n"
         "garbage line\n"
         "\"Broken\"=dword:xyz\n"
         "\"Unknown\"=qword:1\n"
         "[HKEY_NOWHERE\\Key]\n"
         "\"Lost\"=sz:\"x\"\n"
         "[HKEY_CURRENT_USER\\Control Panel\\International\\Deeper]\n"
         "@=hex(0):\n";
  fs::rename(machine().root() / "registry.ini.new", machine().root() / "registry.ini");

  HKEY key = open(HKEY_CURRENT_USER, "Control Panel\\International");
  EXPECT_EQ(bytes(key, "iCountry"), std::string("86\0", 3));
  EXPECT_EQ(bytes(key, "Broken"), "error 2");
  EXPECT_EQ(bytes(key, "Unknown"), "error 2");
  DWORD type = 99;
  EXPECT_EQ(bytes(open(key, "Deeper"), nullptr, &type), "");
  EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
}

}  // namespace
