// Queues and delivery: posted order, quitting, filters, sent messages within and across
// threads, and re-entrancy.
#include "WindowTest.h"

#include <win32/handleapi.h>
#include <win32/sync.h>
#include <win32/thread.h>
#include <win32/user/UserSystem.h>

#include <atomic>
#include <future>
#include <vector>

namespace test {
namespace {

class MessageQueueTest : public UserTest {};

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderAfterSentOnes) {
  HWND hwnd = createRecorder("queue");
  recorder().clear();
  for (UINT i = 1; i <= 3; ++i) PostMessageA(hwnd, WM_USER + i, i, 0);
  SendMessageA(hwnd, WM_USER + 10, 0, 0);
  EXPECT_EQ(recorder().of(hwnd, {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 10}),
            (std::vector<UINT>{WM_USER + 10}));
  pump();
  EXPECT_EQ(recorder().of(hwnd, {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 10}),
            (std::vector<UINT>{WM_USER + 10, WM_USER + 1, WM_USER + 2, WM_USER + 3}));
}

TEST_F(MessageQueueTest, QuitComesAfterThePostedMessagesAndEndsGetMessage) {
  HWND hwnd = createRecorder("quit");
  PostMessageA(hwnd, WM_USER + 1, 0, 0);
  PostQuitMessage(7);
  PostMessageA(hwnd, WM_USER + 2, 0, 0);
  MSG msg;
  std::vector<UINT> got;
  while (GetMessageA(&msg, nullptr, 0, 0)) got.push_back(msg.message);
  EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageQueueTest, PostingToNullGoesToTheThreadQueue) {
  EXPECT_TRUE(PostMessageA(nullptr, WM_USER + 5, 1, 2));
  EXPECT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 6, 3, 4));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 6));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostThreadMessageA(0xFFFFFF, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST_F(MessageQueueTest, FiltersTakeOnlyWhatTheyAskFor) {
  HWND a = createRecorder("a");
  HWND b = createRecorder("b");
  pump();
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_USER + 3, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
}

TEST_F(MessageQueueTest, SentMessagesNestAndReturnTheirResults) {
  // A handler that sends to another window, whose handler sends back to the first.
  static HWND first = nullptr;
  static HWND second = nullptr;
  static std::vector<int> trail;
  trail.clear();
  registerClass("Nest", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message < WM_USER) return DefWindowProcA(hwnd, message, wParam, lParam);
    const int depth = static_cast<int>(wParam);
    trail.push_back(depth);
    if (depth < 4) return 1 + SendMessageA(hwnd == first ? second : first, WM_USER, depth + 1, 0);
    return 100;
  });
  first = CreateWindowExA(0, "Nest", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  second = CreateWindowExA(0, "Nest", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageA(first, WM_USER, 0, 0), 104);
  EXPECT_EQ(trail, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_FALSE(InSendMessage());
}

TEST_F(MessageQueueTest, AWorkersSendBlocksUntilTheUiThreadHandlesIt) {
  static std::atomic<bool> handled{false};
  static std::atomic<DWORD> handlerThread{0};
  static std::atomic<bool> inSend{false};
  handled = false;
  registerClass("Scan", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == 1711) {
      handlerThread = GetCurrentThreadId();
      inSend = InSendMessage();
      handled = true;
      return static_cast<LRESULT>(wParam * 2);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Scan", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  auto worker = std::async(std::launch::async, [hwnd] {
    const LRESULT result = SendMessageA(hwnd, 1711, 21, 0);
    return std::make_pair(result, handled.load());
  });
  // Once the message waits in this thread's queue, the worker is stuck in its send until
  // this thread looks at the queue.
  const auto queue = plat::UserSystem::current().queue();
  while (!queue->hasSent()) std::this_thread::yield();
  EXPECT_NE(worker.wait_for(std::chrono::milliseconds(0)), std::future_status::ready);
  EXPECT_FALSE(handled);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  const auto [result, handledBeforeReturn] = worker.get();
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(handledBeforeReturn);
  EXPECT_EQ(handlerThread.load(), GetCurrentThreadId());
  EXPECT_TRUE(inSend);
}

// A thread that waits for another to end while that one sends to it: the send ends the
// wait, so it can be served, and only then does the sender end.
DWORD WINAPI SendTwiceThenEnd(LPVOID hwnd) {
  SendMessageA(static_cast<HWND>(hwnd), WM_USER, 1, 0);
  SendMessageA(static_cast<HWND>(hwnd), WM_USER, 2, 0);
  return 0;
}

TEST_F(MessageQueueTest, MsgWaitEndsForASendOrAPostAndThenForTheThread) {
  static std::vector<WPARAM> served;
  served.clear();
  registerClass("Served", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_USER) served.push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  HWND hwnd = CreateWindowExA(0, "Served", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, SendTwiceThenEnd, hwnd, 0, nullptr);
  int wakes = 0;
  DWORD result = 0;
  while ((result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE)) == WAIT_OBJECT_0 + 1) {
    ++wakes;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  }
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(wakes, 2);
  EXPECT_EQ(served, (std::vector<WPARAM>{1, 2}));
  CloseHandle(thread);

  // A posted message ends it only when asked for; a bad handle fails it.
  PostMessageA(hwnd, WM_USER, 3, 0);
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_SENDMESSAGE), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0) << "objects come first";
  CloseHandle(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_POSTMESSAGE), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  DestroyWindow(hwnd);
}

TEST_F(MessageQueueTest, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  // The UI thread sends to the worker's window; while the worker handles it, it sends
  // back to the UI thread's window, which the UI thread serves although it is blocked.
  static HWND uiWindow = nullptr;
  registerClass("Back", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_USER + 1) return SendMessageA(uiWindow, WM_USER + 2, wParam + 1, 0) + 1;
    if (message == WM_USER + 2) return static_cast<LRESULT>(wParam * 10);
    if (message == WM_USER + 3) {
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  });
  uiWindow = CreateWindowExA(0, "Back", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::promise<HWND> created;
  std::thread worker([&] {
    HWND own = CreateWindowExA(0, "Back", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    created.set_value(own);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    DestroyWindow(own);
  });
  HWND workerWindow = created.get_future().get();
  EXPECT_EQ(SendMessageA(workerWindow, WM_USER + 1, 4, 0), 51);
  SendMessageA(workerWindow, WM_USER + 3, 0, 0);
  worker.join();
  EXPECT_FALSE(IsWindow(workerWindow));
}

TEST_F(MessageQueueTest, AWindowGoesWithTheThreadThatMadeIt) {
  HWND orphan = nullptr;
  std::thread([&] { orphan = createRecorder("orphan", WS_POPUP); }).join();
  EXPECT_FALSE(IsWindow(orphan));
  EXPECT_EQ(FindWindowA(nullptr, "orphan"), nullptr);
  EXPECT_EQ(SendMessageA(orphan, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(orphan, WM_USER, 0, 0));
  // Walking the windows past it is safe.
  HWND later = createRecorder("later", WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(FindWindowA(nullptr, "later"), later);
  pump();
}

TEST_F(MessageQueueTest, TranslateMessageTurnsKeysIntoCharacters) {
  HWND hwnd = createRecorder("keys", WS_POPUP);
  pump();
  recorder().clear();
  MSG key{hwnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  TranslateMessage(&key);
  pump();
  const auto all = recorder().all();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(all[0].wParam, static_cast<WPARAM>('a'));
}

TEST_F(MessageQueueTest, RegisteredMessagesAreStableByName) {
  const UINT created = RegisterWindowMessageA("TaskbarCreated");
  EXPECT_GE(created, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("taskbarcreated"), created);
  EXPECT_NE(RegisterWindowMessageA("SomethingElse"), created);
}

}  // namespace
}  // namespace test
