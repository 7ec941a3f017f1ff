// The calling process's pseudo-handle, as a program hands it to a process query.
#include <support/TestMachine.h>

#include <win32/thread.h>
#include <win32/version.h>

namespace {

class CurrentProcessTest : public test::MachineTest {};

TEST_F(CurrentProcessTest, ThePseudoHandleIsMinusOneAndAnsweredFor) {
  EXPECT_EQ(GetCurrentProcess(), reinterpret_cast<HANDLE>(-1));
  EXPECT_NE(GetCurrentProcess(), GetCurrentThread());
  BOOL wow64 = TRUE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_FALSE(wow64);
  machine().ini().setValue("Windows", "Wow64", "1");
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_TRUE(wow64);
}

}  // namespace
