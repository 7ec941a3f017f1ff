#include "Canvas.h"

#include <support/TestMachine.h>
#include <win32/error.h>
#include <win32/gdi/IconTable.h>
#include <win32/gdi/icon.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 2 × 2 icon file with one 24-bit image: top row red, black (transparent); bottom row
// green, blue. As a cursor (type 2) with hot spot (1, 1).
Bytes iconFile(std::uint16_t type = 1) {
  Bytes dib(40, 0);
  put32(dib, 0, 40);
  put32(dib, 4, 2);
  put32(dib, 8, 4);  // colour and mask
  dib[12] = 1;
  dib[14] = 24;
  const Bytes colours{0, 255, 0, 255, 0, 0, 0, 0,   // bottom: green, blue
                      0, 0, 255, 0, 0, 0, 0, 0};    // top: red, black
  const Bytes mask{0x00, 0, 0, 0,                   // bottom: both opaque
                   0x40, 0, 0, 0};                  // top: the second pixel transparent
  dib.insert(dib.end(), colours.begin(), colours.end());
  dib.insert(dib.end(), mask.begin(), mask.end());
  Bytes file(6 + 16 + dib.size(), 0);
  file[2] = static_cast<std::uint8_t>(type);
  file[4] = 1;
  file[6] = 2;
  file[7] = 2;
  file[10] = 1;                     // planes, or the hot spot's x
  file[12] = type == 2 ? 1 : 24;    // bit count, or the hot spot's y
  put32(file, 14, static_cast<std::uint32_t>(dib.size()));
  put32(file, 18, 22);
  std::copy(dib.begin(), dib.end(), file.begin() + 22);
  return file;
}

class IconTest : public test::MachineTest {};

TEST_F(IconTest, IconsDrawThroughTheirMask) {
  HICON icon = plat::IconTable::instance().addFromFile(iconFile(), 32);
  ASSERT_NE(icon, nullptr);
  test::Canvas canvas(4, 4);
  canvas.fill(RGB(50, 50, 50));
  SetTextColor(canvas.dc(), RGB(9, 9, 9));  // the context's colours play no part
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(2, 1), RGB(50, 50, 50)) << "the transparent pixel shows the background";
  EXPECT_EQ(canvas.at(1, 2), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(0, 0), RGB(50, 50, 50));
  // DrawIcon stretches it to the system's icon size.
  test::Canvas big(40, 40);
  big.fill(RGB(50, 50, 50));
  ASSERT_TRUE(DrawIcon(big.dc(), 0, 0, icon));
  EXPECT_EQ(big.count(RGB(255, 0, 0)), 16 * 16);
  EXPECT_EQ(big.count(RGB(50, 50, 50)), 40 * 40 - 3 * 16 * 16);
  EXPECT_TRUE(DestroyIcon(icon));
}

TEST_F(IconTest, CopiesAreIndependentAndHandlesWithoutPicturesDrawNothing) {
  HICON cursor = plat::IconTable::instance().addFromFile(iconFile(2), 32);
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(plat::IconTable::instance().find(cursor)->hotspot.x, 1);
  HCURSOR copy = CopyCursor(cursor);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, cursor);
  EXPECT_TRUE(DestroyCursor(cursor));
  test::Canvas canvas(2, 2);
  canvas.fill(RGB(0, 0, 0));
  EXPECT_TRUE(DrawIconEx(canvas.dc(), 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL)) << "the copy outlives the original";
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_TRUE(DestroyCursor(copy));

  // A window-system handle (a standard cursor) copies and draws as nothing.
  HCURSOR standard = reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(0xC0007F00u));
  HCURSOR hand = CopyCursor(standard);
  ASSERT_NE(hand, nullptr);
  canvas.fill(RGB(3, 3, 3));
  EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, hand));
  EXPECT_EQ(canvas.count(RGB(3, 3, 3)), 4);
  EXPECT_TRUE(DestroyCursor(hand));
  EXPECT_FALSE(DrawIcon(canvas.dc(), 0, 0, nullptr));
  EXPECT_EQ(CopyIcon(nullptr), nullptr);
}

TEST_F(IconTest, BrokenIconFilesGiveNoHandle) {
  Bytes file = iconFile();
  EXPECT_EQ(plat::IconTable::instance().addFromFile(Bytes(file.begin(), file.begin() + 30), 32), nullptr);
  Bytes far = file;
  put32(far, 18, 100000);
  EXPECT_EQ(plat::IconTable::instance().addFromFile(far, 32), nullptr);
  EXPECT_EQ(plat::IconTable::instance().addFromFile(Bytes{0, 0, 3, 0, 1, 0}, 32), nullptr);
}

}  // namespace
