#include "ComTest.h"

#include <com/oleauto.h>

#include <gtest/gtest.h>

#include <cwchar>

namespace {

VARIANT bstrVariant(const OLECHAR* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

TEST(Variant, InitLeavesItEmptyAndClearIsHarmlessThen) {
  VARIANT v;
  v.vt = VT_I4;
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(Variant, CopyOfAStringIsAnIndependentString) {
  const OLECHAR chars[] = {L'U', L'S', L'B', L'\0', L'2'};
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_BSTR;
  source.bstrVal = SysAllocStringLen(chars, 5);
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
  ASSERT_EQ(copy.vt, VT_BSTR);
  EXPECT_NE(copy.bstrVal, source.bstrVal);
  EXPECT_EQ(SysStringLen(copy.bstrVal), 5u);  // the embedded NUL is copied too
  EXPECT_EQ(std::wmemcmp(copy.bstrVal, chars, 5), 0);
  EXPECT_EQ(VariantClear(&source), S_OK);
  EXPECT_EQ(source.vt, VT_EMPTY);
  EXPECT_EQ(copy.bstrVal[4], L'2');  // still readable after the source went
  EXPECT_EQ(VariantClear(&copy), S_OK);
}

TEST(Variant, UnknownsAreCountedByCopyAndClear) {
  test::CountedObject object;
  VARIANT held;
  VariantInit(&held);
  held.vt = VT_UNKNOWN;
  held.punkVal = &object;
  object.AddRef();  // the variant's reference

  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &held), S_OK);
  EXPECT_EQ(copy.punkVal, &object);
  EXPECT_EQ(object.refs(), 3u);
  EXPECT_EQ(VariantClear(&copy), S_OK);
  EXPECT_EQ(object.refs(), 2u);
  EXPECT_EQ(VariantClear(&held), S_OK);
  EXPECT_EQ(object.refs(), 1u);
}

TEST(Variant, CopyOverAValueReleasesWhatWasThere) {
  test::CountedObject object;
  object.AddRef();
  VARIANT dest;
  VariantInit(&dest);
  dest.vt = VT_UNKNOWN;
  dest.punkVal = &object;
  VARIANT source = bstrVariant(L"FriendlyName");
  ASSERT_EQ(VariantCopy(&dest, &source), S_OK);
  EXPECT_EQ(object.refs(), 1u);
  EXPECT_STREQ(dest.bstrVal, L"FriendlyName");
  EXPECT_EQ(VariantCopy(&dest, &dest), S_OK);  // onto itself: unchanged
  EXPECT_STREQ(dest.bstrVal, L"FriendlyName");
  VariantClear(&dest);
  VariantClear(&source);
}

TEST(Variant, UnsupportedTypesAreReportedAndLeftAlone) {
  VARIANT odd;
  VariantInit(&odd);
  odd.vt = 0x4000 | VT_I4;  // by reference: not a type the platform holds
  EXPECT_EQ(VariantClear(&odd), DISP_E_BADVARTYPE);
  EXPECT_EQ(odd.vt, 0x4000 | VT_I4);
  VARIANT dest;
  VariantInit(&dest);
  EXPECT_EQ(VariantCopy(&dest, &odd), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&dest, &odd, 0, VT_I4), DISP_E_BADVARTYPE);
}

TEST(VariantChangeType, NumbersConvertWithRangeChecks) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = 2.5;
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I4), S_OK);
  EXPECT_EQ(out.vt, VT_I4);
  EXPECT_EQ(out.lVal, 2);  // halves round to even
  v.dblVal = 3.5;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_I2), S_OK);
  EXPECT_EQ(out.iVal, 4);
  v.dblVal = 256;
  EXPECT_EQ(VariantChangeType(&out, &v, 0, VT_UI1), DISP_E_OVERFLOW);
  EXPECT_EQ(out.vt, VT_I2);  // a failed conversion leaves the destination as it was
  v.dblVal = -0.25;
  ASSERT_EQ(VariantChangeType(&out, &v, 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_TRUE);
  ASSERT_EQ(VariantChangeType(&out, &out, 0, VT_I4), S_OK);  // in place
  EXPECT_EQ(out.lVal, -1);
}

TEST(VariantChangeType, StringsAndNumbers) {
  VARIANT text = bstrVariant(L" 720 ");
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &text, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 720);
  ASSERT_EQ(VariantChangeType(&text, &text, 0, VT_R4), S_OK);  // the string is freed in place
  EXPECT_EQ(text.vt, VT_R4);
  EXPECT_FLOAT_EQ(text.fltVal, 720.0f);

  VARIANT word = bstrVariant(L"channel");
  EXPECT_EQ(VariantChangeType(&out, &word, 0, VT_I4), DISP_E_TYPEMISMATCH);
  VARIANT truth = bstrVariant(L"TRUE");
  ASSERT_EQ(VariantChangeType(&out, &truth, 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.boolVal, VARIANT_TRUE);

  VARIANT number;
  VariantInit(&number);
  number.vt = VT_R8;
  number.dblVal = 29.97;
  ASSERT_EQ(VariantChangeType(&out, &number, 0, VT_BSTR), S_OK);
  EXPECT_STREQ(out.bstrVal, L"29.97");
  VARIANT flag;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_TRUE;
  ASSERT_EQ(VariantChangeType(&out, &flag, 0, VT_BSTR), S_OK);
  EXPECT_STREQ(out.bstrVal, L"-1");
  ASSERT_EQ(VariantChangeType(&out, &flag, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_STREQ(out.bstrVal, L"True");
  VariantClear(&out);
  VariantClear(&word);
  VariantClear(&truth);
}

TEST(VariantChangeType, EmptyBecomesZeroOrEmptyTextAndUnknownsDoNotConvert) {
  VARIANT empty;
  VariantInit(&empty);
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &empty, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 0);
  ASSERT_EQ(VariantChangeType(&out, &empty, 0, VT_BSTR), S_OK);
  ASSERT_NE(out.bstrVal, nullptr);
  EXPECT_EQ(SysStringLen(out.bstrVal), 0u);
  VariantClear(&out);

  test::CountedObject object;
  VARIANT unknown;
  VariantInit(&unknown);
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = &object;
  EXPECT_EQ(VariantChangeType(&out, &unknown, 0, VT_I4), DISP_E_TYPEMISMATCH);
  ASSERT_EQ(VariantChangeType(&out, &unknown, 0, VT_UNKNOWN), S_OK);  // same type: a counted copy
  EXPECT_EQ(object.refs(), 2u);
  VariantClear(&out);
  EXPECT_EQ(object.refs(), 1u);
}

}  // namespace
