// Threads and locks on calls every supported Windows has, XP included:
// _beginthreadex and critical sections. The standard library's
// threads need winpthreads (or Vista's locks) in this toolchain, and either
// would keep the program from starting on XP.
//
// WorkerThread runs one function on a thread of its own. It is either joined
// or detached, always on purpose; nothing here ever ends a thread from
// outside. CriticalSection with its ScopedLock guards data shared by two
// threads.
#pragma once

#include <windows.h>

#include <functional>

namespace vh {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Joins a thread that was neither joined nor detached: an owner that
  // forgets to decide must not leave a thread behind that uses it.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Runs body on a new thread. False when the thread could not be created
  // (body is then not run) or this object already has one. An exception
  // that escapes body ends only body: it never crosses into the runtime.
  bool Start(std::function<void()> body);
  bool Started() const { return handle_ != nullptr; }
  // True while the thread has not yet returned from body.
  bool Running() const;
  // Waits until the thread has ended.
  void Join();
  // Waits until the thread has ended while dispatching the calling thread's
  // messages, so that its windows keep painting and answering. Returns
  // false, with the thread still running, when WM_QUIT arrived (it is
  // posted again for the outer loop).
  bool JoinPumping();
  // Lets the thread run on alone; its resources go when it ends.
  void Detach();

 private:
  HANDLE handle_ = nullptr;
};

// Waits for handle while dispatching the calling thread's messages; see
// WorkerThread::JoinPumping.
bool WaitPumpingMessages(HANDLE handle);

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class ScopedLock {
 public:
  explicit ScopedLock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~ScopedLock() { section_.Leave(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CriticalSection& section_;
};

}  // namespace vh
