// The renderer lock: one recursive lock per renderer, held for the whole of
// creation, of each frame and of release, and by the overlay and interaction
// operations that change shared renderer state.
#pragma once

#include <windows.h>

namespace noxd {

// A critical section, initialised with its owner and deleted with it. It is
// the renderer lock rather than a kernel mutex because every frame takes it
// and every overlay call once: a free critical section is taken in user
// space, a mutex in the kernel (a round trip to wineserver under Wine). The
// renderer needs nothing of a mutex besides recursion, which a critical
// section has too: no wait on the lock has a time limit, no thread is ended
// while it holds the lock (release waits out the window's messages before it
// stops the render thread), and the lock never leaves the process.
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

// Made and deleted with the renderer object.
struct RendererLock {
    CriticalSection section;  // recursive: a holder may take it again
};

// Takes the lock for one scope, waiting without a time limit, and gives it
// back on every path out of it.
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
