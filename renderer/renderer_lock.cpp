#include "renderer_lock.h"

namespace noxd {

ScopedRendererLock::ScopedRendererLock(RendererLock& lock) : lock_(lock) {
    lock_.section.Enter();
    lock_.lock_owner = GetCurrentThreadId();
    ++lock_.lock_count;
    held_ = true;
}

void ScopedRendererLock::Unlock() {
    if (!held_) return;
    if (--lock_.lock_count == 0) lock_.lock_owner = 0;
    held_ = false;
    lock_.section.Leave();
}

}  // namespace noxd
