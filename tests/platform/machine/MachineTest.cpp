#include <support/TestMachine.h>

#include <machine/IniDocument.h>
#include <machine/Machine.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using MachineRootTest = test::MachineTest;

TEST_F(MachineRootTest, NewMachineHasTheDefaultPc) {
  EXPECT_TRUE(fs::exists(machine().iniPath()));
  EXPECT_EQ(machine().ini().intValue("Screen", "Width", 0), 1024);
  EXPECT_EQ(machine().ini().intValue("Screen", "Height", 0), 768);
  EXPECT_EQ(machine().ini().valueOr("Windows", "ProductName", ""), "Microsoft Windows XP");
  EXPECT_EQ(machine().ini().valueOr("TVStick", "FriendlyName", ""), "USB TV Device");
  EXPECT_TRUE(fs::is_directory(machine().root() / "C" / "Temp"));
  EXPECT_TRUE(fs::is_directory(machine().runFolder()));
}

TEST_F(MachineRootTest, ExistingMachineIniIsKept) {
  const fs::path root = testMachine.root() / "other";
  fs::create_directories(root);
  std::ofstream(root / "machine.ini") << "[Screen]\nWidth=800\n[Drives]\nC=disk-c\n";
  plat::Machine other(root);
  EXPECT_EQ(other.ini().intValue("Screen", "Width", 0), 800);
  EXPECT_EQ(other.paths().driveFolder('C'), root / "disk-c");
  EXPECT_FALSE(other.paths().hasDrive('Z'));
}

struct Counter {
  explicit Counter(plat::Machine&) { ++alive; }
  ~Counter() { --alive; }
  int hits = 0;
  static inline int alive = 0;
};

TEST_F(MachineRootTest, ServicesLiveAsLongAsTheirMachine) {
  {
    plat::Machine scratch(testMachine.root() / "scratch");
    scratch.service<Counter>().hits++;
    scratch.service<Counter>().hits++;
    EXPECT_EQ(scratch.service<Counter>().hits, 2);
    EXPECT_EQ(Counter::alive, 1);
  }
  EXPECT_EQ(Counter::alive, 0);
}

TEST(IniDocument, WindowsProfileRules) {
  plat::IniDocument ini(
      "; comment\n[Main]\n  Name =  first value  \nname=second\nQuoted=\"a b\"\nSingle='x'\n\n[main]\nOther=1\n");
  EXPECT_EQ(ini.value("MAIN", "NAME"), "first value");  // first match wins, trimmed
  EXPECT_EQ(ini.value("main", "quoted"), "a b");
  EXPECT_EQ(ini.value("main", "single"), "x");
  EXPECT_FALSE(ini.value("main", "other"));  // only the first section of a name is read
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Main"}));
  EXPECT_EQ(ini.keyNames("main"), (std::vector<std::string>{"Name", "Quoted", "Single"}));
}

TEST(IniDocument, SetValueRewritesOnlyItsLine) {
  plat::IniDocument ini("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
  ini.setValue("a", "X", "5");
  ini.setValue("A", "z", "6");
  ini.setValue("C", "w", "7");
  EXPECT_EQ(ini.text(), "; keep me\r\n[A]\r\nX=5\r\nz=6\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=7\r\n");
  ini.removeSection("b");
  ini.removeKey("A", "x");
  EXPECT_EQ(ini.text(), "; keep me\r\n[A]\r\nz=6\r\n\r\n[C]\r\nw=7\r\n");
}

TEST_F(MachineRootTest, PathsMapBothWaysWithCaseFallback) {
  plat::PathMap& paths = machine().paths();
  const fs::path c = paths.driveFolder('C');
  fs::create_directories(c / "Program Files" / "Orvane");
  std::ofstream(c / "Program Files" / "Orvane" / "Skin.ini") << "x";

  EXPECT_EQ(paths.toLinux("C:\\Program Files\\Orvane\\Skin.ini"), c / "Program Files/Orvane/Skin.ini");
  EXPECT_EQ(paths.toLinux("c:\\PROGRAM FILES\\orvane\\skin.INI"), c / "Program Files/Orvane/Skin.ini");
  EXPECT_EQ(paths.toLinux("C:/program files/ORVANE/new.txt"), c / "Program Files/Orvane/new.txt");
  EXPECT_EQ(paths.toLinux("C:\\a\\..\\Program Files\\.\\x"), c / "Program Files/x");
  EXPECT_EQ(paths.toLinux("Z:\\tmp"), fs::path("/tmp"));

  EXPECT_EQ(paths.toWindows(c / "Program Files/Orvane/Skin.ini"), "C:\\Program Files\\Orvane\\Skin.ini");
  EXPECT_EQ(paths.toWindows(c), "C:\\");
  EXPECT_EQ(paths.toWindows("/usr/share"), "Z:\\usr\\share");
  EXPECT_EQ(paths.toWindows("/"), "Z:\\");
}

}  // namespace
