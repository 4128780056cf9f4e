// The program's own threads and its loading of system libraries, on the
// calls XP has.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>

#include "platform/system_library_win.h"
#include "platform/thread_win.h"
#include "platform/win32_platform_win.h"
#include "ui/dialog_worker_win.h"
#include "tests/wine/support/app_fixture.h"
#include "tests/wine/support/event_win.h"

namespace vh {
namespace {

TEST(WorkerThread, RunsItsBodyOnceAndJoinWaitsForTheEnd) {
  Event go;
  std::atomic<int> runs{0};
  DWORD bodyThread = 0;
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([&] {
    go.Wait(INFINITE);
    bodyThread = GetCurrentThreadId();
    ++runs;
  }));
  EXPECT_TRUE(worker.Running());
  EXPECT_FALSE(worker.Start([&] { ++runs; })) << "one thread per object";
  go.Set();
  worker.Join();
  EXPECT_FALSE(worker.Running());
  EXPECT_FALSE(worker.Started());
  EXPECT_EQ(runs, 1);
  EXPECT_NE(bodyThread, GetCurrentThreadId());
}

TEST(WorkerThread, AnExceptionEndsOnlyTheBody) {
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([] { throw std::runtime_error("lost"); }));
  worker.Join();
  SUCCEED() << "the process is still here";
}

// The copy check's two walks: the live hive's and the copy's.
TEST(WorkerThread, TheSystemsRegistryRunsTwoWalksAtOnceAndReturnsWhenBothAreDone) {
  Win32Platform p;
  Event secondRunning;
  DWORD secondThread = 0;
  bool firstSawSecond = false;
  std::atomic<bool> secondDone{false};
  p.RunTogether([&] { firstSawSecond = secondRunning.Wait(5000); },
                [&] {
                  secondThread = GetCurrentThreadId();
                  secondRunning.Set();
                  Sleep(50);
                  secondDone = true;
                });
  EXPECT_TRUE(firstSawSecond) << "the second runs while the first does";
  EXPECT_NE(secondThread, GetCurrentThreadId());
  EXPECT_TRUE(secondDone);
  secondDone = false;
  EXPECT_THROW(p.RunTogether([] { throw std::runtime_error("first"); },
                             [&] {
                               Sleep(50);
                               secondDone = true;
                             }),
               std::runtime_error);
  EXPECT_TRUE(secondDone) << "the second has ended before the first's exception leaves";
}

TEST(WorkerThread, ADetachedThreadRunsOnAlone) {
  // Shared: the thread outlives the object that started it.
  auto proceed = std::make_shared<Event>();
  auto done = std::make_shared<Event>();
  {
    WorkerThread worker;
    ASSERT_TRUE(worker.Start([proceed, done] {
      proceed->Wait(INFINITE);
      done->Set();
    }));
    worker.Detach();
    EXPECT_FALSE(worker.Started());
  }  // neither Detach nor the destructor waited: the body is still blocked
  EXPECT_FALSE(done->IsSet());
  proceed->Set();
  EXPECT_TRUE(done->Wait(INFINITE));
}

TEST(WorkerThread, JoinPumpingDispatchesTheWaitingThreadsMessages) {
  Event release;
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([&] { release.Wait(INFINITE); }));
  // Only a thread that dispatches its messages runs this timer, and only
  // the timer lets the worker end.
  bool ranWhileWaiting = false;
  test::AfterMs(30, [&] {
    ranWhileWaiting = worker.Running();
    release.Set();
  });
  EXPECT_TRUE(worker.JoinPumping());
  EXPECT_TRUE(ranWhileWaiting);
  EXPECT_FALSE(worker.Started());
}

TEST(WorkerThread, JoinPumpingLeavesQuitForTheOuterLoop) {
  Event release;
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([&] { release.Wait(INFINITE); }));
  PostQuitMessage(7);
  EXPECT_FALSE(worker.JoinPumping()) << "returns at WM_QUIT with the thread still running";
  release.Set();
  worker.Join();
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT was swallowed";
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(DialogWorker, PostsTheJobsAnswerOrTheFailedOneAndKeepsWhatTheJobThrew) {
  HWND dialog = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  constexpr UINT kEnd = WM_APP + 9;
  constexpr LPARAM kFailed = -1;
  struct Case {
    const char* what;
    DialogWorker::Job job;
    bool stopAsked;
    LPARAM answer;
    bool threw;
  } cases[] = {
      {"answers", [](const std::atomic<bool>&) { return LPARAM(42); }, false, 42, false},
      {"throws", [](const std::atomic<bool>&) -> LPARAM { throw std::runtime_error("lost"); }, false, kFailed, true},
      {"runs until asked to stop",
       [](const std::atomic<bool>& stop) {
         while (!stop) Sleep(1);
         return LPARAM(5);
       },
       true, 5, false},
  };
  for (Case& c : cases) {
    DialogWorker worker(dialog, kEnd, kFailed);
    worker.Start(c.job);
    if (c.stopAsked) {
      EXPECT_FALSE(worker.Answer()) << c.what << ": no answer before the job ends";
      worker.Stop();
    }
    MSG msg{};
    for (int i = 0; i < 5000 && !PeekMessageA(&msg, dialog, kEnd, kEnd, PM_REMOVE); ++i) Sleep(1);
    EXPECT_EQ(msg.message, kEnd) << c.what;
    EXPECT_EQ(msg.lParam, c.answer) << c.what;
    EXPECT_EQ(worker.Answer(), std::optional<LPARAM>(c.answer)) << c.what;
    EXPECT_EQ(bool(worker.Error()), c.threw) << c.what;
  }
  DestroyWindow(dialog);
}

TEST(CriticalSection, KeepsACounterExactAcrossThreads) {
  CriticalSection section;
  long counter = 0;
  auto add = [&] {
    for (int i = 0; i < 20000; ++i) {
      ScopedLock lock(section);
      long seen = counter;
      if (i % 1000 == 0) Sleep(0);  // invite the other thread in between
      counter = seen + 1;
    }
  };
  WorkerThread a, b;
  ASSERT_TRUE(a.Start(add));
  ASSERT_TRUE(b.Start(add));
  a.Join();
  b.Join();
  EXPECT_EQ(counter, 40000);
}

TEST(SystemLibrary, IsLoadedByItsFullPathInTheSystemFolder) {
  char folder[MAX_PATH] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  EXPECT_EQ(SystemLibraryPath("shell32.dll"), std::string(folder) + "\\shell32.dll");
  HMODULE shell = LoadSystemLibrary("shell32.dll");
  ASSERT_NE(shell, nullptr);
  char loaded[MAX_PATH] = {};
  GetModuleFileNameA(shell, loaded, MAX_PATH);
  EXPECT_EQ(lstrcmpiA(loaded, (std::string(folder) + "\\shell32.dll").c_str()), 0) << loaded;
  FreeLibrary(shell);
  EXPECT_EQ(LoadSystemLibrary("no-such-library-vh.dll"), nullptr);
}

}  // namespace
}  // namespace vh
