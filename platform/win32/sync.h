// Synchronisation: mutexes, events, waits and critical sections.
//
// A named mutex is visible to every process on the machine: its name is held while any
// handle in any process refers to it, and ownership and waits work across processes.
// A process that dies, even by a crash, lets go of the name and abandons what it owned
// (the kernel drops its file locks under the machine's run/ folder). Events and waitable
// timers are per-process, and so are their names. Timeouts and due times count on the
// machine clock.
#pragma once

#include <win32/types.h>

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64

#define SYNCHRONIZE 0x00100000u
#define MUTEX_MODIFY_STATE 0x0001u
#define MUTEX_ALL_ACCESS 0x001F0001u
#define EVENT_MODIFY_STATE 0x0002u
#define EVENT_ALL_ACCESS 0x001F0003u

// Sets ERROR_ALREADY_EXISTS, and still returns a handle, when the name was held; initial
// ownership is then not granted. ERROR_SUCCESS otherwise.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
// NULL with ERROR_FILE_NOT_FOUND when no process holds the name.
HANDLE OpenMutexA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name);
// FALSE with ERROR_NOT_OWNER unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE mutex);

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waitable timers share the name space of mutexes and events (ERROR_ALREADY_EXISTS for a
// name held, ERROR_INVALID_HANDLE for one held by another kind). A positive due time is
// absolute (FILETIME units, UTC), a negative one relative; a period repeats it in
// milliseconds; resume arms the machine's wake-up time while the timer is armed.
// Completion routines are not called.
HANDLE CreateWaitableTimerA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, LPCSTR name);
typedef void (*PTIMERAPCROUTINE)(LPVOID, DWORD, DWORD);
BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* dueTime, LONG period, PTIMERAPCROUTINE completionRoutine,
                      LPVOID argToCompletionRoutine, BOOL resume);
BOOL CancelWaitableTimer(HANDLE timer);
#define CreateWaitableTimer CreateWaitableTimerA

// Works on mutexes, events, waitable timers and threads.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// A recursive lock in the caller's memory. OwningThread holds the owner's thread id and
// RecursionCount its depth, as on Windows.
struct CRITICAL_SECTION {
  LONG RecursionCount;
  HANDLE OwningThread;
  alignas(8) unsigned char LockSpace[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
// Ignored when the calling thread does not own the section.
void LeaveCriticalSection(LPCRITICAL_SECTION section);
