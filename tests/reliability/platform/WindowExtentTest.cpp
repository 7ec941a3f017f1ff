// Window and rectangle sizes at the ends of the int range: a window's far edge stays in
// range, a negative size is none, and CRect's width wraps as 32-bit Windows computes it
// instead of overflowing.
#include <mfc/CRect.h>
#include <support/TestMachine.h>
#include <win32/user.h>

#include <climits>

namespace {

class WindowExtentTest : public test::MachineTest {};

TEST_F(WindowExtentTest, AWindowsFarEdgeStaysInTheIntRange) {
  HWND far = CreateWindowExA(0, "STATIC", "", WS_POPUP, INT_MAX - 5, 0, 100, INT_MAX, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(far, nullptr);
  RECT rect{};
  GetWindowRect(far, &rect);
  EXPECT_EQ(rect.right, INT_MAX);
  EXPECT_EQ(rect.bottom, INT_MAX);
  ASSERT_TRUE(SetWindowPos(far, nullptr, 10, 10, -50, 30, SWP_NOZORDER | SWP_NOACTIVATE));
  GetWindowRect(far, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right, 10) << "a negative width is none";
  EXPECT_EQ(rect.bottom, 40);
  DestroyWindow(far);
}

TEST(CRectExtentTest, WidthsWrapAsOn32BitWindowsAndEmptinessComparesEdges) {
  EXPECT_EQ(CRect(INT_MIN, 0, INT_MAX, 0).Width(), -1);
  EXPECT_EQ(CRect(0, INT_MIN, 0, INT_MAX).Height(), -1);
  EXPECT_EQ(CRect(-5, 0, 20, 0).Width(), 25);
  EXPECT_FALSE(CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 0, 5, 10).IsRectEmpty());
  EXPECT_TRUE(CRect(0, 10, 10, 0).IsRectEmpty());
}

}  // namespace
