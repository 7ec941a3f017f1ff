// The resources compiled from resources/test/window_tests.rc into this program.
#include "WindowTest.h"

#include <mfc/StringResources.h>
#include <win32/gdi.h>
#include <win32/gdi/IconTable.h>
#include <win32/module.h>
#include <win32/user/ResourceTable.h>

#include <cstring>

namespace test {
namespace {

class ResourceTest : public UserTest {};

TEST_F(ResourceTest, StringsLoadByIdWithTheirBytesIntact) {
  char buffer[64];
  EXPECT_EQ(LoadStringA(nullptr, 129, buffer, sizeof buffer), 9);
  EXPECT_STREQ(buffer, "Calvendor");
  EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 200, buffer, sizeof buffer), 2);
  EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xCB);
  EXPECT_EQ(static_cast<unsigned char>(buffer[1]), 0xCE);
  LoadStringA(nullptr, 201, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Tab\tand \"quotes\"");
  EXPECT_EQ(LoadStringA(nullptr, 129, buffer, 4), 3);
  EXPECT_STREQ(buffer, "Cal");
  EXPECT_EQ(LoadStringA(nullptr, 4242, buffer, sizeof buffer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  // Another module's handle finds that module's resources, not the program's.
  EXPECT_EQ(LoadStringA(reinterpret_cast<HINSTANCE>(0x4321), 129, buffer, sizeof buffer), 0);
}

TEST_F(ResourceTest, CStringFindsTheProgramsStringTable) {
  std::string text;
  ASSERT_TRUE(plat::StringResources::find(1, text));
  EXPECT_EQ(text, "First string");
  EXPECT_FALSE(plat::StringResources::find(4242, text));
}

TEST_F(ResourceTest, IconsBitmapsAndMenusAreThere) {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128)), icon);
  // The handle carries the resource's picture, so drawing the icon shows it.
  const auto picture = plat::IconTable::instance().find(icon);
  ASSERT_TRUE(picture.has_value());
  ASSERT_NE(picture->image, nullptr);
  EXPECT_EQ(picture->image->width(), 16);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129)), nullptr);
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);

  const plat::res::Blob* bitmap = plat::ResourceTable::bitmap(nullptr, MAKEINTRESOURCEA(152));
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->size, 70u);
  EXPECT_EQ(std::memcmp(bitmap->data, "BM", 2), 0);
  EXPECT_EQ(plat::ResourceTable::bitmap(nullptr, "#152"), bitmap);
  // A bitmap with a name is found by it in any case, and never by a number.
  const plat::res::Blob* named = plat::ResourceTable::bitmap(nullptr, "test_picture");
  ASSERT_NE(named, nullptr);
  EXPECT_NE(named, bitmap);
  EXPECT_EQ(named->size, 70u);
  EXPECT_EQ(plat::ResourceTable::bitmap(nullptr, "TEST_PICTURE"), named);
  EXPECT_EQ(plat::ResourceTable::bitmap(nullptr, "TEST_PICTURES"), nullptr);
  EXPECT_EQ(plat::ResourceTable::bitmap(nullptr, "#0"), nullptr);
  EXPECT_EQ(plat::ResourceTable::bitmap(nullptr, MAKEINTRESOURCEA(0)), nullptr);
  HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), "Test_Picture");
  ASSERT_NE(loaded, nullptr);
  DeleteObject(loaded);
  EXPECT_EQ(LoadBitmapA(GetModuleHandleA(nullptr), "Missing_Picture"), nullptr);

  const plat::res::Menu* menu = plat::ResourceTable::menu(nullptr, MAKEINTRESOURCEA(130));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->itemCount, 1u);
  const plat::res::MenuItem& popup = menu->items[0];
  EXPECT_STREQ(popup.text, "&Menu");
  ASSERT_EQ(popup.itemCount, 4u);
  EXPECT_EQ(popup.items[1].id, 32774u);
  EXPECT_EQ(popup.items[1].flags, 0x0008u);  // checked
  EXPECT_EQ(popup.items[2].text, nullptr);   // separator
  EXPECT_EQ(popup.items[3].flags, 0x0001u);  // grayed
}

TEST_F(ResourceTest, DialogTemplatesKeepTheirStyles) {
  const plat::res::Dialog* dialog = plat::ResourceTable::dialog(nullptr, MAKEINTRESOURCEA(100));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME));
  ASSERT_EQ(dialog->controlCount, 4u);
  EXPECT_EQ(dialog->controls[0].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON));
  EXPECT_EQ(dialog->controls[3].style, static_cast<DWORD>(WS_CHILD));  // NOT WS_VISIBLE
}

}  // namespace
}  // namespace test
