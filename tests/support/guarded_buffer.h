// Bytes against a no-access page, so that a read or write one byte past
// them, or before them, faults at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace noxd_test {

class GuardedBuffer {
public:
    // Where the no-access page lies: right after the last byte, or right
    // before the first.
    enum class Guard { After, Before };

    explicit GuardedBuffer(size_t size, Guard guard = Guard::After) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t pages = (size + page - 1) / page;
        base_ = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!base_) return;
        uint8_t* const no_access = guard == Guard::After ? base_ + pages * page : base_;
        DWORD old = 0;
        if (VirtualProtect(no_access, page, PAGE_NOACCESS, &old))
            data_ = guard == Guard::After ? no_access - size : base_ + page;
    }
    ~GuardedBuffer() {
        if (base_) VirtualFree(base_, 0, MEM_RELEASE);
    }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    // Null when the buffer could not be made.
    uint8_t* data() const { return data_; }

private:
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
};

}  // namespace noxd_test
