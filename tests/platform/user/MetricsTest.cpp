// System metrics, parameters and colours from machine.ini.
#include "WindowTest.h"

#include <cstring>

namespace test {
namespace {

class MetricsTest : public MachineTest {};

TEST_F(MetricsTest, DefaultsDescribeTheScreenAndAClassicDesktop) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(9999), 0);
  RECT area;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.bottom, 738);
  BOOL shadow = FALSE;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0));
  EXPECT_TRUE(shadow);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  // The drop shadow is switched for the session with the value itself.
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(FALSE), 0));
  SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0);
  EXPECT_FALSE(shadow);
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(TRUE), 0));
  SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0);
  EXPECT_TRUE(shadow);
}

TEST_F(MetricsTest, NonClientMetricsNeedTheirSize) {
  NONCLIENTMETRICSA ncm{};
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_EQ(ncm.iSmCaptionHeight, 15);
  EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, "Tahoma");
  EXPECT_FALSE(SystemParametersInfoA(0x4242, 0, &ncm, 0));
}

TEST_F(MetricsTest, MachineIniOverridesTheDefaults) {
  plat::IniDocument& ini = machine().ini();
  ini.setValue("Screen", "Width", "1280");
  ini.setValue("Screen", "Height", "1024");
  ini.setValue("Screen", "WorkArea", "0 0 1280 994");
  ini.setValue("Metrics", "SM_CYCAPTION", "26");
  ini.setValue("Colors", "COLOR_BTNFACE", "1 2 3");
  ini.setValue("Desktop", "DropShadow", "0");
  machine().saveIni();
  plat::Machine& reopened = plat::Machine::open(testMachine.root());
  reopened.clock().setManual(kStartUnixMs);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 26);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(area.bottom, 994);
  BOOL shadow = TRUE;
  SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0);
  EXPECT_FALSE(shadow);
}

}  // namespace
}  // namespace test
