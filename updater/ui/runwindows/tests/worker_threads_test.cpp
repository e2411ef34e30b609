// Worker threads under Wine: waiting for them at the end of the process.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/runwindows/win32/worker_threads.h"

namespace qxu {
namespace {

HANDLE g_release = nullptr;
HWND g_target = nullptr;
LRESULT g_answer = 0;

DWORD WINAPI HeldWorker(LPVOID) {
  WaitForSingleObject(g_release, INFINITE);
  return 0;
}

DWORD WINAPI SendingWorker(LPVOID) {
  // Like a worker reporting to a window of the waiting thread.
  g_answer = SendMessageW(g_target, WM_USER + 5, 0, 0);
  return 0;
}

LRESULT CALLBACK Answer(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER + 5) return 42;
  return DefWindowProcW(w, m, wp, lp);
}

TEST(WorkerThreads, WaitGivesUpAtTheLimitAndSucceedsOnceTheWorkerEnds) {
  g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  RunThreads threads;
  ASSERT_TRUE(threads.Start(HeldWorker, nullptr));
  EXPECT_FALSE(threads.WaitAll(200));
  SetEvent(g_release);
  EXPECT_TRUE(threads.WaitAll(10000));
  CloseHandle(g_release);
}

TEST(WorkerThreads, WaitHandlesMessagesSentByTheWorker) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Answer;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QxWorkerTestTarget";
  ASSERT_NE(RegisterClassW(&wc), 0);
  g_target = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(g_target, nullptr);
  RunThreads threads;
  ASSERT_TRUE(threads.Start(SendingWorker, nullptr));
  EXPECT_TRUE(threads.WaitAll(10000));
  EXPECT_EQ(g_answer, 42);
  DestroyWindow(g_target);
}

}  // namespace
}  // namespace qxu
