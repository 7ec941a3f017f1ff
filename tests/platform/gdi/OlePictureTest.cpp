#include "Canvas.h"

#include <com/ComPtr.h>
#include <com/objbase.h>
#include <com/olectl.h>
#include <support/TestMachine.h>
#include <win32/gdi/GdiTable.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A 2 × 2 24-bit bitmap file: top row red, green; bottom row blue, white.
Bytes twoByTwo() {
  Bytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  b[10] = 54;
  b[14] = 40;
  b[18] = 2;
  b[22] = 2;
  b[26] = 1;
  b[28] = 24;
  const Bytes rows{255, 0, 0, 255, 255, 255, 0, 0,  // bottom (stored first): blue, white
                   0, 0, 255, 0, 255, 0, 0, 0};     // top: red, green
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

// A stream over a movable global block that frees it on release, as the skins load pictures.
plat::ComPtr<IStream> streamOf(const Bytes& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  return plat::ComPtr<IStream>::adopt(stream);
}

class OlePictureTest : public test::MachineTest {};

TEST_F(OlePictureTest, LoadsABitmapFromAStreamAndOwnsIt) {
  const Bytes file = twoByTwo();
  auto stream = streamOf(file);
  IPicture* picture = nullptr;
  ASSERT_EQ(OleLoadPicture(stream.get(), static_cast<LONG>(file.size()), FALSE, IID_IPicture,
                           reinterpret_cast<void**>(&picture)),
            S_OK);
  SHORT type = 0;
  picture->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_BITMAP);
  OLE_XSIZE_HIMETRIC width = 0;
  picture->get_Width(&width);
  EXPECT_EQ(width, 53) << "2 pixels at 96 dpi in 0.01 mm";
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle));
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmHeight, 2);

  // Rendered upright with the usual arguments (from the top, going down).
  test::Canvas canvas(4, 4);
  ASSERT_EQ(picture->Render(canvas.dc(), 0, 0, 4, 4, 0, width, width, -width, nullptr), S_OK);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(3, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(0, 3), RGB(0, 0, 255));
  // From the bottom going up it comes out upside down.
  ASSERT_EQ(picture->Render(canvas.dc(), 0, 0, 4, 4, 0, 0, width, width, nullptr), S_OK);
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(0, 3), RGB(255, 0, 0));

  picture->Release();
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), 0) << "the bitmap went with the picture";
}

TEST_F(OlePictureTest, ReadsTheWholeStreamWhenNoSizeIsGiven) {
  auto stream = streamOf(twoByTwo());
  plat::ComPtr<IPicture> picture;
  ASSERT_EQ(OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, reinterpret_cast<void**>(picture.put())), S_OK);
  plat::ComPtr<IUnknown> unknown;
  EXPECT_EQ(picture->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.put())), S_OK);
}

TEST_F(OlePictureTest, BrokenDataAndBadArgumentsFail) {
  const std::size_t bitmaps = plat::GdiTable::instance().count(OBJ_BITMAP);
  Bytes cut = twoByTwo();
  cut.resize(60);
  auto stream = streamOf(cut);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(OleLoadPicture(stream.get(), static_cast<LONG>(cut.size()), FALSE, IID_IPicture, &out),
            CTL_E_INVALIDPICTURE);
  EXPECT_EQ(out, nullptr);
  auto garbage = streamOf(Bytes(100, 0x42));
  EXPECT_EQ(OleLoadPicture(garbage.get(), 100, FALSE, IID_IPicture, &out), CTL_E_INVALIDPICTURE);
  auto good = streamOf(twoByTwo());
  EXPECT_EQ(OleLoadPicture(good.get(), 0, FALSE, IID_IStream, &out), E_NOINTERFACE);
  EXPECT_EQ(OleLoadPicture(nullptr, 0, FALSE, IID_IPicture, &out), E_INVALIDARG);
  EXPECT_EQ(OleLoadPicture(good.get(), 0, FALSE, IID_IPicture, nullptr), E_POINTER);
  EXPECT_EQ(plat::GdiTable::instance().count(OBJ_BITMAP), bitmaps) << "nothing left behind";
}

}  // namespace
