// Another process opened by its id and waited for: signalled once it has ended, also
// while its parent has not yet collected it.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>
#include <win32/thread.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class OpenProcessTest : public test::MachineTest {};

TEST_F(OpenProcessTest, AnOpenedProcessIsSignalledOnceItHasEnded) {
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  const pid_t child = fork();
  if (child == 0) {
    char byte;
    close(gate[1]);
    _exit(read(gate[0], &byte, 1) < 0 ? 1 : 0);  // ends when the gate closes
  }
  close(gate[0]);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(child));
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT);

  close(gate[1]);
  EXPECT_EQ(WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);  // a zombie has ended
  EXPECT_TRUE(CloseHandle(process));
  waitpid(child, nullptr, 0);
  EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(child)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
