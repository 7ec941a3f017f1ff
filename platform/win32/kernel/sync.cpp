#include <win32/sync.h>

#include <machine/Machine.h>
#include <win32/error.h>
#include <win32/kernel/EventObject.h>
#include <win32/kernel/MutexObject.h>
#include <win32/kernel/ObjectNames.h>
#include <win32/kernel/ThreadObject.h>
#include <win32/kernel/WaitHub.h>
#include <win32/kernel/WaitableTimerObject.h>

#include <cerrno>
#include <mutex>
#include <new>

namespace {

using plat::HandleTable;
using plat::MutexFile;
using plat::MutexObject;
using plat::ObjectNames;

DWORD errorFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_PATH_NOT_FOUND;
  }
}

// The process's object for a mutex name, joining the other processes' holders when
// this process has none yet. Sets the last error on failure.
ObjectNames::Lookup namedMutex(const std::string& name, bool openOnly) {
  ObjectNames& names = plat::Machine::current().service<ObjectNames>();
  return names.findOrMake(name, [&]() -> ObjectNames::Lookup {
    MutexFile::Join outcome;
    auto file = MutexFile::join(MutexFile::pathFor(names.mutexFolder(), name), openOnly, outcome);
    if (!file) {
      SetLastError(outcome == MutexFile::Join::Missing ? ERROR_FILE_NOT_FOUND : errorFromErrno(errno));
      return {};
    }
    return {std::make_shared<MutexObject>(std::move(file)), outcome == MutexFile::Join::Existed};
  });
}

template <class T>
std::shared_ptr<T> objectOf(HANDLE handle) {
  auto object = HandleTable::instance().getAs<T>(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

DWORD waitFor(std::vector<std::shared_ptr<plat::Waitable>> objects, bool all, DWORD milliseconds) {
  plat::Clock& clock = plat::Machine::current().clock();
  return plat::WaitHub::instance().wait(objects, all, milliseconds, clock);
}

std::recursive_mutex& lockOf(LPCRITICAL_SECTION section) {
  return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->LockSpace));
}

HANDLE ownerId() { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(plat::ThreadObject::currentId())); }

void enterOwned(LPCRITICAL_SECTION section) {
  __atomic_store_n(&section->OwningThread, ownerId(), __ATOMIC_RELAXED);
  ++section->RecursionCount;
}

}  // namespace

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  std::shared_ptr<MutexObject> mutex;
  bool existed = false;
  if (!name || !*name) {
    mutex = std::make_shared<MutexObject>();
  } else {
    ObjectNames::Lookup found = namedMutex(name, false);
    if (!found.object) return nullptr;
    mutex = std::dynamic_pointer_cast<MutexObject>(found.object);
    if (!mutex) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    existed = found.existed;
  }
  if (initialOwner && !existed) {
    std::lock_guard guard(plat::WaitHub::instance().lock());
    mutex->tryAcquire(plat::ThreadObject::currentId());
  }
  HANDLE handle = HandleTable::instance().add(mutex);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

HANDLE OpenMutexA(DWORD, BOOL, LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ObjectNames::Lookup found = namedMutex(name, true);
  if (!found.object) return nullptr;
  if (!std::dynamic_pointer_cast<MutexObject>(found.object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return HandleTable::instance().add(found.object);
}

BOOL ReleaseMutex(HANDLE handle) {
  auto mutex = objectOf<MutexObject>(handle);
  if (!mutex) return FALSE;
  if (!mutex->release()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  return TRUE;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  const auto make = [&]() -> ObjectNames::Lookup {
    return {std::make_shared<plat::EventObject>(manualReset != FALSE, initialState != FALSE), false};
  };
  ObjectNames::Lookup found = (!name || !*name)
                                  ? make()
                                  : plat::Machine::current().service<ObjectNames>().findOrMake(name, make);
  if (!std::dynamic_pointer_cast<plat::EventObject>(found.object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HANDLE handle = HandleTable::instance().add(found.object);
  SetLastError(found.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL SetEvent(HANDLE handle) {
  auto event = objectOf<plat::EventObject>(handle);
  if (!event) return FALSE;
  event->set();
  return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
  auto event = objectOf<plat::EventObject>(handle);
  if (!event) return FALSE;
  event->reset();
  return TRUE;
}

HANDLE CreateWaitableTimerA(LPSECURITY_ATTRIBUTES, BOOL manualReset, LPCSTR name) {
  const auto make = [&]() -> ObjectNames::Lookup {
    return {std::make_shared<plat::WaitableTimerObject>(plat::Machine::current().clock(), manualReset != FALSE), false};
  };
  ObjectNames::Lookup found = (!name || !*name)
                                  ? make()
                                  : plat::Machine::current().service<ObjectNames>().findOrMake(name, make);
  if (!std::dynamic_pointer_cast<plat::WaitableTimerObject>(found.object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HANDLE handle = HandleTable::instance().add(found.object);
  SetLastError(found.existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL SetWaitableTimer(HANDLE handle, const LARGE_INTEGER* dueTime, LONG period, PTIMERAPCROUTINE, LPVOID,
                      BOOL resume) {
  constexpr std::int64_t kFileTimeTo1970 = 116444736000000000LL;  // 100 ns units
  auto timer = objectOf<plat::WaitableTimerObject>(handle);
  if (!timer) return FALSE;
  if (!dueTime || period < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t due = dueTime->QuadPart;
  const std::int64_t nowMs = plat::Machine::current().clock().unixMs();
  // Both ends in 100-ns units of their own range, so no due time overflows.
  const std::int64_t unixMs = due >= 0 ? (due - kFileTimeTo1970) / 10000 : nowMs - due / 10000;
  timer->set(unixMs, period, resume != FALSE);
  return TRUE;
}

BOOL CancelWaitableTimer(HANDLE handle) {
  auto timer = objectOf<plat::WaitableTimerObject>(handle);
  if (!timer) return FALSE;
  timer->cancel();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  auto object = objectOf<plat::Waitable>(handle);
  if (!object) return WAIT_FAILED;
  return waitFor({std::move(object)}, false, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<plat::Waitable>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto object = objectOf<plat::Waitable>(handles[i]);
    if (!object) return WAIT_FAILED;
    objects.push_back(std::move(object));
  }
  return waitFor(std::move(objects), waitAll != FALSE, milliseconds);
}

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::LockSpace));
static_assert(alignof(std::recursive_mutex) <= 8);

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  section->RecursionCount = 0;
  section->OwningThread = nullptr;
  new (section->LockSpace) std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) { lockOf(section).~recursive_mutex(); }

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  lockOf(section).lock();
  enterOwned(section);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  if (!lockOf(section).try_lock()) return FALSE;
  enterOwned(section);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (__atomic_load_n(&section->OwningThread, __ATOMIC_RELAXED) != ownerId()) return;
  if (--section->RecursionCount == 0) __atomic_store_n(&section->OwningThread, nullptr, __ATOMIC_RELAXED);
  lockOf(section).unlock();
}
