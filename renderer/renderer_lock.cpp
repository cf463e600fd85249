#include "renderer_lock.h"

namespace noxd {

ScopedRendererLock::ScopedRendererLock(RendererLock& lock) : lock_(lock) {
    lock_.section.Enter();
    held_ = true;
}

void ScopedRendererLock::Unlock() {
    if (!held_) return;
    held_ = false;
    lock_.section.Leave();
}

}  // namespace noxd
