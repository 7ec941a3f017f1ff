// Named mutexes between two real processes: the other one is the mutex_holder fixture,
// driven line by line through its stdin and stdout.
#include <support/TestMachine.h>

#include <win32/error.h>
#include <win32/handleapi.h>
#include <win32/sync.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class HolderProcess {
 public:
  HolderProcess(const std::filesystem::path& machineRoot, const std::string& mutexName) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, toChild[1]);
    posix_spawn_file_actions_addclose(&actions, fromChild[0]);
    const std::string program = SYNC_MUTEX_HOLDER;
    const std::string root = machineRoot.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(root.c_str()),
                    const_cast<char*>(mutexName.c_str()), nullptr};
    if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    m_commands = fdopen(toChild[1], "w");
    m_answers = fdopen(fromChild[0], "r");
  }

  ~HolderProcess() {
    if (m_commands) std::fclose(m_commands);
    if (m_answers) std::fclose(m_answers);
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }

  // The next line the holder says; empty once it has gone.
  std::string answer() {
    char line[64];
    if (!m_answers || !std::fgets(line, sizeof line, m_answers)) return {};
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  void tell(const char* command) {
    std::fprintf(m_commands, "%s\n", command);
    std::fflush(m_commands);
  }

  // Tells the holder to end by `command` and returns its wait status.
  int endWith(const char* command) {
    tell(command);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return status;
  }

 private:
  pid_t m_pid = -1;
  std::FILE* m_commands = nullptr;
  std::FILE* m_answers = nullptr;
};

using SyncProcessTest = test::MachineTest;

TEST_F(SyncProcessTest, NameHeldByAnotherProcessUntilItExits) {
  HolderProcess holder(testMachine.root(), "Only-One-Instance");
  ASSERT_EQ(holder.answer(), "created");

  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(mutex);
  HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, "Only-One-Instance");
  EXPECT_NE(opened, nullptr);
  CloseHandle(opened);

  const int status = holder.endWith("exit");
  EXPECT_TRUE(WIFEXITED(status));
  mutex = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(mutex);
}

TEST_F(SyncProcessTest, ProgramStartedByAHolderDoesNotKeepItsNames) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "Only-One-Instance");
  HolderProcess started(testMachine.root(), "Something-Else");
  ASSERT_EQ(started.answer(), "created");
  CloseHandle(mutex);
  mutex = CreateMutexA(nullptr, FALSE, "Only-One-Instance");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

TEST_F(SyncProcessTest, CrashedOwnerLetsGoOfTheNameAndAbandonsTheMutex) {
  HolderProcess holder(testMachine.root(), "Recorder");
  ASSERT_EQ(holder.answer(), "created");
  holder.tell("own");
  ASSERT_EQ(holder.answer(), "owned");

  HANDLE mutex = CreateMutexA(nullptr, TRUE, "Recorder");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT);

  const int status = holder.endWith("abort");
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGABRT);
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(mutex);

  EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "Recorder"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  mutex = CreateMutexA(nullptr, FALSE, "Recorder");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);  // a new mutex is never abandoned
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

TEST_F(SyncProcessTest, OwnershipPassesBetweenProcesses) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "Scheduler");
  HolderProcess holder(testMachine.root(), "Scheduler");
  ASSERT_EQ(holder.answer(), "existed");
  holder.tell("own");  // blocks in the holder until this process lets go
  EXPECT_TRUE(ReleaseMutex(mutex));
  ASSERT_EQ(holder.answer(), "owned");

  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_TIMEOUT);
  holder.tell("release");
  EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(holder.answer(), "released");
  holder.tell("release");
  EXPECT_EQ(holder.answer(), "not-owner");
  EXPECT_TRUE(ReleaseMutex(mutex));

  holder.tell("own");
  ASSERT_EQ(holder.answer(), "owned");
  const int status = holder.endWith("exit");  // ends owning it
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_ABANDONED);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

}  // namespace
