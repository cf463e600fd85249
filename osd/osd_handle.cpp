#include "osd_handle.h"

#include <atomic>

namespace noxd {

namespace {
std::atomic<uintptr_t> last_handle{0};
}  // namespace

uintptr_t NextOsdHandle() {
    uintptr_t handle;
    // 0 means "no object"; it comes round only after the counter wrapped.
    do handle = last_handle.fetch_add(1, std::memory_order_relaxed) + 1;
    while (handle == 0);
    return handle;
}

}  // namespace noxd
