#include "Canvas.h"

#include <support/TestMachine.h>
#include <win32/gdi.h>
#include <win32/gdi/FontEngine.h>

#include <gtest/gtest.h>

#include <malloc.h>

#include <climits>
#include <cstring>

namespace {

using test::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  int pixels = 0;
  bool empty() const { return pixels == 0; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

Box inkBox(const Canvas& canvas, COLORREF ink = kInk) {
  Box b;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (canvas.at(x, y) == ink) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x + 1);
        b.bottom = std::max(b.bottom, y + 1);
        ++b.pixels;
      }
  return b;
}

class TextTest : public test::MachineTest {
 protected:
  HFONT font(int height, int weight = FW_NORMAL, int escapement = 0, const char* face = "Arial") {
    HFONT f = CreateFontA(height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, face);
    m_fonts.push_back(f);
    return f;
  }
  void TearDown() override {
    for (HFONT f : m_fonts) DeleteObject(f);
  }
  // A white canvas with black text in transparent mode.
  void prepare(Canvas& canvas, HFONT f) {
    canvas.fill(kWhite);
    SelectObject(canvas.dc(), f);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), kInk);
  }

 private:
  std::vector<HFONT> m_fonts;
};

TEST_F(TextTest, HeightIsTheCellWhenPositiveAndTheEmWhenNegative) {
  Canvas canvas(10, 10);
  TEXTMETRICA tm{};
  SelectObject(canvas.dc(), font(20));
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, 20);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  SelectObject(canvas.dc(), font(-20));
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
  EXPECT_GT(tm.tmInternalLeading, 0);
  EXPECT_GT(tm.tmAveCharWidth, 5);
  EXPECT_LT(tm.tmAveCharWidth, 16);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "MMMM", 4, &size));
  SIZE one{};
  GetTextExtentPoint32A(canvas.dc(), "M", 1, &one);
  EXPECT_EQ(size.cx, 4 * one.cx);
  EXPECT_EQ(size.cy, tm.tmHeight);
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
}

TEST_F(TextTest, TextOutDrawsInsideItsCellFromTheTopLeft) {
  Canvas canvas(120, 60);
  HFONT f = font(-24);
  prepare(canvas, f);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "Hello", 5, &extent);
  ASSERT_TRUE(TextOutA(canvas.dc(), 10, 15, "Hello", 5));
  const Box ink = inkBox(canvas);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.left, 13);
  EXPECT_GE(ink.top, 15);
  EXPECT_LE(ink.bottom, 15 + tm.tmHeight);
  EXPECT_LE(ink.right, 10 + extent.cx);
  EXPECT_GT(ink.width(), extent.cx * 3 / 4);
  // A capital H stands about 0.73 em tall from the baseline.
  EXPECT_NEAR(ink.height(), 24 * 0.73, 2.5);
  EXPECT_EQ(ink.bottom, 15 + tm.tmAscent) << "no descenders: the ink ends on the baseline";
}

TEST_F(TextTest, CharacterExtraSpacesTheTextAndItsMeasure) {
  Canvas canvas(200, 40);
  prepare(canvas, font(-14));
  SIZE plain{};
  GetTextExtentPoint32A(canvas.dc(), "iiii", 4, &plain);
  TextOutA(canvas.dc(), 10, 5, "iiii", 4);
  const Box close = inkBox(canvas);
  EXPECT_EQ(GetTextCharacterExtra(canvas.dc()), 0);
  EXPECT_EQ(SetTextCharacterExtra(canvas.dc(), 6), 0);
  EXPECT_EQ(GetTextCharacterExtra(canvas.dc()), 6);
  SIZE spaced{};
  GetTextExtentPoint32A(canvas.dc(), "iiii", 4, &spaced);
  EXPECT_EQ(spaced.cx, plain.cx + 4 * 6);
  EXPECT_EQ(spaced.cy, plain.cy);
  prepare(canvas, font(-14));
  TextOutA(canvas.dc(), 10, 5, "iiii", 4);
  const Box apart = inkBox(canvas);
  EXPECT_EQ(apart.left, close.left);
  EXPECT_EQ(apart.width(), close.width() + 3 * 6);
  // DrawText centres the spaced line.
  prepare(canvas, font(-14));
  RECT r{0, 0, 200, 40};
  DrawTextA(canvas.dc(), "iiii", 4, &r, DT_CENTER | DT_SINGLELINE);
  const Box centred = inkBox(canvas);
  EXPECT_NEAR((centred.left + centred.right) / 2.0, 100 - 3, 3);
  EXPECT_EQ(SetTextCharacterExtra(nullptr, 1), static_cast<int>(0x80000000));
}

TEST_F(TextTest, BoldInksMoreThanRegular) {
  Canvas regular(200, 40), bold(200, 40);
  prepare(regular, font(-20, FW_NORMAL));
  prepare(bold, font(-20, FW_BOLD));
  TextOutA(regular.dc(), 0, 0, "Skin caption", 12);
  TextOutA(bold.dc(), 0, 0, "Skin caption", 12);
  EXPECT_GT(inkBox(bold).pixels, inkBox(regular).pixels * 5 / 4);
}

TEST_F(TextTest, OpaqueModeFillsTheCellWithTheBackgroundColour) {
  Canvas canvas(100, 40);
  prepare(canvas, font(-16));
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "Abc", 3, &extent);
  TextOutA(canvas.dc(), 5, 5, "Abc", 3);
  const Box bk = inkBox(canvas, RGB(0, 0, 255));
  EXPECT_EQ(bk.left, 5);
  EXPECT_EQ(bk.top, 5);
  EXPECT_EQ(bk.right, 5 + extent.cx);
  EXPECT_EQ(bk.bottom, 5 + extent.cy);
  EXPECT_EQ(bk.pixels + inkBox(canvas).pixels, extent.cx * extent.cy);
}

TEST_F(TextTest, EscapementNineHundredRunsTextUpwards) {
  Canvas canvas(60, 160);
  prepare(canvas, font(-20, FW_NORMAL, 900));
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "Sidebar", 7, &extent);
  TextOutA(canvas.dc(), 10, 140, "Sidebar", 7);
  const Box ink = inkBox(canvas);
  ASSERT_FALSE(ink.empty());
  EXPECT_GT(ink.height(), ink.width() * 2) << "the text runs vertically";
  EXPECT_LE(ink.bottom, 141);
  EXPECT_GE(ink.top, 140 - extent.cx - 1);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + tm.tmHeight + 1);
}

TEST_F(TextTest, DrawTextAlignsInTheRectangle) {
  Canvas canvas(200, 60);
  prepare(canvas, font(-14));
  RECT r{20, 10, 180, 50};
  DrawTextA(canvas.dc(), "Centred", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Box ink = inkBox(canvas);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 4);

  prepare(canvas, font(-14));
  const int height = DrawTextA(canvas.dc(), "Right", 5, &r, DT_RIGHT | DT_SINGLELINE | DT_BOTTOM);
  ink = inkBox(canvas);
  EXPECT_LE(ink.right, 180);
  EXPECT_GE(ink.right, 176);
  EXPECT_LE(ink.bottom, 50);
  EXPECT_EQ(height, 40) << "bottom of the text measured from the rectangle's top";
}

TEST_F(TextTest, DrawTextBreaksLinesAndMeasures) {
  Canvas canvas(200, 100);
  prepare(canvas, font(16));
  RECT calc{0, 0, 0, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "one\ntwo words", -1, &calc, DT_CALCRECT), 32);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "two words", 9, &extent);
  EXPECT_EQ(calc.right, extent.cx);
  EXPECT_EQ(calc.bottom, 32);

  // Word wrapping: three words in a rectangle two words wide make two lines.
  SIZE word{};
  GetTextExtentPoint32A(canvas.dc(), "aaa aaa", 7, &word);
  RECT wrap{0, 0, word.cx + 2, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "aaa aaa aaa", -1, &wrap, DT_CALCRECT | DT_WORDBREAK), 32);
  // The single-line form ignores line breaks.
  RECT single{0, 0, 0, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "a\nb", -1, &single, DT_CALCRECT | DT_SINGLELINE), 16);

  // Tabs expand to eight average characters.
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  RECT tab{0, 0, 0, 0};
  DrawTextA(canvas.dc(), "\tx", -1, &tab, DT_CALCRECT | DT_EXPANDTABS);
  SIZE x{};
  GetTextExtentPoint32A(canvas.dc(), "x", 1, &x);
  EXPECT_EQ(tab.right, 8 * tm.tmAveCharWidth + x.cx);
}

TEST_F(TextTest, DrawTextClipsToTheRectangleAndShortensWithAnEllipsis) {
  Canvas canvas(200, 40);
  prepare(canvas, font(-14));
  RECT r{10, 5, 60, 35};
  DrawTextA(canvas.dc(), "A rather long caption text", -1, &r, DT_LEFT | DT_SINGLELINE);
  Box ink = inkBox(canvas);
  EXPECT_LE(ink.right, 60);
  EXPECT_GE(ink.left, 10);

  prepare(canvas, font(-14));
  RECT calc = r;
  DrawTextA(canvas.dc(), "A rather long caption text", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_WORD_ELLIPSIS);
  EXPECT_LE(calc.right, 60);
  DrawTextA(canvas.dc(), "A rather long caption text", -1, &r, DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOCLIP);
  ink = inkBox(canvas);
  EXPECT_LE(ink.right, 60);
  // The three dots are at the end of what was drawn.
  EXPECT_EQ(canvas.at(ink.right - 1, ink.bottom - 1), kInk);
}

// A name too long for its cell, as a report list draws it: centred, right-aligned or in
// a rectangle lower than the text, it stays inside the rectangle on every side; only
// DT_NOCLIP lets it out, and the context's own clip is as it was afterwards.
TEST_F(TextTest, DrawTextKeepsALongTextInsideItsRectangleUnlessToldNotToClip) {
  Canvas canvas(300, 60);
  const char* name = "Northfield Evening News and Weather";
  const RECT cell{100, 20, 160, 40};
  for (const UINT format : {DT_CENTER | DT_VCENTER | DT_SINGLELINE, DT_RIGHT | DT_SINGLELINE, DT_LEFT | DT_WORDBREAK}) {
    SCOPED_TRACE(format);
    prepare(canvas, font(-14));
    RECT r = cell;
    DrawTextA(canvas.dc(), name, -1, &r, format);
    const Box ink = inkBox(canvas);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, cell.left);
    EXPECT_LE(ink.right, cell.right);
    EXPECT_GE(ink.top, cell.top);
    EXPECT_LE(ink.bottom, cell.bottom);
  }
  // Lower than its line: cut above and below.
  prepare(canvas, font(-20));
  RECT low{10, 25, 290, 33};
  DrawTextA(canvas.dc(), "Hg", -1, &low, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Box ink = inkBox(canvas);
  EXPECT_EQ(ink.top, 25);
  EXPECT_EQ(ink.bottom, 33);

  prepare(canvas, font(-14));
  RECT r = cell;
  DrawTextA(canvas.dc(), name, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  ink = inkBox(canvas);
  EXPECT_LT(ink.left, cell.left);
  EXPECT_GT(ink.right, cell.right);

  // Through a moved origin, inside a clip of the caller's own, which is kept.
  prepare(canvas, font(-14));
  SetViewportOrgEx(canvas.dc(), 50, 0, nullptr);
  IntersectClipRect(canvas.dc(), 0, 0, 200, 60);
  r = RECT{50, 20, 110, 40};
  DrawTextA(canvas.dc(), name, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ink = inkBox(canvas);
  EXPECT_GE(ink.left, cell.left);
  EXPECT_LE(ink.right, cell.right);
  RECT clip{};
  EXPECT_EQ(GetClipBox(canvas.dc(), &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right, 200) << "the caller's clip, in logical units";
  SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
  SelectClipRgn(canvas.dc(), nullptr);
}

TEST_F(TextTest, PrefixesUnderlineTheNextCharacter) {
  Canvas plain(100, 30), prefixed(100, 30);
  prepare(plain, font(-14));
  prepare(prefixed, font(-14));
  RECT r{0, 0, 100, 30};
  DrawTextA(plain.dc(), "File", -1, &r, DT_SINGLELINE);
  DrawTextA(prefixed.dc(), "&File", -1, &r, DT_SINGLELINE);
  EXPECT_GT(inkBox(prefixed).pixels, inkBox(plain).pixels);
  EXPECT_GT(inkBox(prefixed).bottom, inkBox(plain).bottom) << "underline below the baseline";
  Canvas noPrefix(100, 30);
  prepare(noPrefix, font(-14));
  RECT calc{0, 0, 0, 0}, calc2{0, 0, 0, 0};
  DrawTextA(noPrefix.dc(), "&&File", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
  DrawTextA(noPrefix.dc(), "&File", -1, &calc2, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(calc.right, calc2.right) << "&& is one ampersand";
}

TEST_F(TextTest, UnknownFacesFallBackAndTheCharsetIsKept) {
  Canvas canvas(100, 30);
  HFONT odd = CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "No Such Face");
  SelectObject(canvas.dc(), odd);
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(canvas.dc(), "abc", 3, &size));
  EXPECT_GT(size.cx, 0);
  EXPECT_EQ(GetTextCharset(canvas.dc()), RUSSIAN_CHARSET);
  LOGFONTA lf{};
  GetObjectA(odd, sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "No Such Face");
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(odd);
  // The stock fonts follow the machine's code page: Big5 on the default machine.
  EXPECT_EQ(GetTextCharset(canvas.dc()), CHINESEBIG5_CHARSET);
  machine().ini().setValue("Windows", "AnsiCodePage", "1252");
  EXPECT_EQ(GetTextCharset(canvas.dc()), ANSI_CHARSET);
  machine().ini().setValue("Windows", "AnsiCodePage", "1251");
  EXPECT_EQ(GetTextCharset(canvas.dc()), RUSSIAN_CHARSET);
}

TEST_F(TextTest, AnsiTextIsDecodedInTheMachineCodePage) {
  machine().ini().setValue("Windows", "AnsiCodePage", "1251");
  Canvas canvas(100, 30);
  prepare(canvas, font(-16));
  // 0xC4 is a Cyrillic capital De in 1251 and an A with diaeresis in 1252: different widths.
  SIZE cyrillic{};
  GetTextExtentPoint32A(canvas.dc(), "\xC4", 1, &cyrillic);
  machine().ini().setValue("Windows", "AnsiCodePage", "1252");
  SIZE latin{};
  GetTextExtentPoint32A(canvas.dc(), "\xC4", 1, &latin);
  EXPECT_NE(cyrillic.cx, latin.cx);
}

TEST_F(TextTest, CharactersTheFaceLacksComeFromTheLinkedFace) {
  machine().ini().setValue("Windows", "AnsiCodePage", "950");
  Canvas canvas(100, 30);
  prepare(canvas, font(-16));
  // "Start" in Big5: two ideographs, each a full em wide, each its own shape.
  const char kOpen[] = "\xB6\x7D";
  const char kBegin[] = "\xA9\x6C";
  SIZE both{};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "\xB6\x7D\xA9\x6C", 4, &both));
  EXPECT_EQ(both.cx, 32);
  std::vector<COLORREF> shapes[2];
  const char* glyphs[] = {kOpen, kBegin};
  for (int i = 0; i < 2; ++i) {
    canvas.fill(kWhite);
    TextOutA(canvas.dc(), 0, 0, glyphs[i], 2);
    EXPECT_GT(inkBox(canvas).pixels, 20);
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x) shapes[i].push_back(canvas.at(x, y));
  }
  EXPECT_NE(shapes[0], shapes[1]);
  // Latin letters keep the face's own glyphs.
  SIZE latin{};
  GetTextExtentPoint32A(canvas.dc(), "A", 1, &latin);
  machine().ini().setValue("Windows", "AnsiCodePage", "1252");
  SIZE latin1252{};
  GetTextExtentPoint32A(canvas.dc(), "A", 1, &latin1252);
  EXPECT_EQ(latin.cx, latin1252.cx);
  // What a face or its linked face draws, and what neither does (a private-use character:
  // an empty box on screen).
  LOGFONTA logFont{};
  logFont.lfHeight = -16;
  const auto face = plat::FontEngine::instance().face(logFont);
  ASSERT_TRUE(face);
  EXPECT_TRUE(face->draws(U'A'));
  EXPECT_TRUE(face->draws(U'\u958B'));
  EXPECT_FALSE(face->draws(U'\uE000'));
}

// A program asking for ever new sizes (a skin's, a user's) does not grow: the faces of sizes
// no longer drawn with are let go, while the recent ones are found again.
TEST_F(TextTest, FacesOfSizesNoLongerUsedAreLetGo) {
  Canvas canvas(100, 30);
  const auto drawInSizes = [&](int first) {
    for (int height = first; height < first + 200; ++height) {
      HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
      HGDIOBJ old = SelectObject(canvas.dc(), font);
      TextOutA(canvas.dc(), 0, 0, "Ab", 2);
      SelectObject(canvas.dc(), old);
      DeleteObject(font);
    }
  };
  const auto heap = [] {
    malloc_trim(0);
    return static_cast<long long>(mallinfo2().uordblks);
  };
  drawInSizes(8);
  const long long afterFirst = heap();
  drawInSizes(208);
  EXPECT_LT(heap() - afterFirst, 4 << 20) << "200 more sizes kept no more than the recent faces";

  LOGFONTA logFont{};
  logFont.lfHeight = -21;
  const auto face = plat::FontEngine::instance().face(logFont);
  EXPECT_EQ(plat::FontEngine::instance().face(logFont), face) << "a recent size is found again";
  const std::weak_ptr<plat::FontFace> held = face;
  for (LONG height = 500; height < 500 + static_cast<LONG>(plat::FontEngine::kRecentFaces); ++height) {
    logFont.lfHeight = -height;
    plat::FontEngine::instance().face(logFont);
  }
  EXPECT_FALSE(held.expired()) << "held by a font, it stays";
}

}  // namespace
