// A lock of one process that never makes a kernel object. A mutex of this
// toolchain's thread runtime makes one the first time two threads meet at it
// and keeps it as long as the mutex lives: a process-wide mutex would leave
// one handle more behind than it found. It has no destructor either, so a
// thread that still runs while the process exits finds it working.
// Not recursive. Works with std::lock_guard (lock/unlock) and
// std::shared_lock (lock_shared/unlock_shared).
#pragma once

#include <windows.h>

namespace noxd {

class SlimLock {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    void lock_shared() { AcquireSRWLockShared(&lock_); }
    void unlock_shared() { ReleaseSRWLockShared(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace noxd
