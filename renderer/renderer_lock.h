// The renderer lock: one recursive Win32 mutex per renderer, held for the
// whole of creation, of each frame and of release, and by the overlay and
// interaction operations that change shared renderer state.
#pragma once

#include <windows.h>

#include "win32_owners.h"

namespace noxd {

struct RendererLock {
    UniqueKernelHandle mutex;  // unnamed, created not owned; a Win32 mutex is recursive
    DWORD lock_owner = 0;      // thread that last took it; 0 when free; -1 after release
    LONG lock_count = 0;       // holds currently counted; -1 after release
};

// Takes the lock for one scope and gives it back on every path out of it.
// lock_owner and lock_count are bookkeeping only; they change only while the
// mutex is held.
class ScopedRendererLock {
public:
    explicit ScopedRendererLock(RendererLock& lock);
    ~ScopedRendererLock() { Unlock(); }
    ScopedRendererLock(const ScopedRendererLock&) = delete;
    ScopedRendererLock& operator=(const ScopedRendererLock&) = delete;

    // Gives the hold back early; the destructor then has nothing to do.
    void Unlock();

private:
    RendererLock& lock_;
    bool held_ = false;
};

}  // namespace noxd
