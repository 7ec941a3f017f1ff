// Threads and the interlocked operations. A thread handle is signalled when its routine
// has returned; thread ids are this process's own (see plat::ThreadObject).
#pragma once

#include <win32/types.h>

#define STILL_ACTIVE 259u
#define CREATE_SUSPENDED 0x00000004u

using LPTHREAD_START_ROUTINE = DWORD(WINAPI*)(LPVOID parameter);

// `stackSize` is left to the system. NULL with ERROR_NOT_ENOUGH_MEMORY when no thread
// can be started.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE startAddress,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// The previous suspend count, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
// STILL_ACTIVE while the thread runs. Accepts GetCurrentThread().
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// A pseudo-handle meaning "the calling thread"; closing it is not needed.
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();
// A pseudo-handle meaning "the calling process"; closing it is not needed.
HANDLE GetCurrentProcess();
// Another running process of the machine, signalled (WaitForSingleObject) once it has
// ended; NULL with ERROR_INVALID_PARAMETER when no such process runs.
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);

// Sequentially consistent, returning what Windows returns: the new value for
// Increment/Decrement, the previous value for the others.
inline LONG InterlockedIncrement(LONG volatile* addend) { return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST); }
inline LONG InterlockedDecrement(LONG volatile* addend) { return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST); }
inline LONG InterlockedExchange(LONG volatile* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchangeAdd(LONG volatile* addend, LONG value) {
  return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(LONG volatile* destination, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}
inline PVOID InterlockedExchangePointer(PVOID volatile* target, PVOID value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
inline PVOID InterlockedCompareExchangePointer(PVOID volatile* destination, PVOID exchange, PVOID comparand) {
  __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}
