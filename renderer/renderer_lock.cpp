#include "renderer_lock.h"

namespace noxd {

ScopedRendererLock::ScopedRendererLock(RendererLock& lock) : lock_(lock) {
    WaitForSingleObject(lock_.mutex.get(), INFINITE);
    lock_.lock_owner = GetCurrentThreadId();
    ++lock_.lock_count;
    held_ = true;
}

void ScopedRendererLock::Unlock() {
    if (!held_) return;
    if (--lock_.lock_count == 0) lock_.lock_owner = 0;
    held_ = false;
    ReleaseMutex(lock_.mutex.get());
}

}  // namespace noxd
