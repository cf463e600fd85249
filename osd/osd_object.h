// The overlay object model: every on-screen overlay is a CBaseOsdObject that
// draws itself into the current GL context and frees what it holds.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <new>
#include <utility>

namespace noxd {
struct OverlayRenderer;
}  // namespace noxd

enum OsdKind : uint32_t {
    kOsdRectangle = 0,
    kOsdEllipse = 1,  // COsdEllipse and COsdEllipse2
    kOsdTriangle = 2,
    kOsdLine = 3,
    kOsdPoint = 4,
    kOsdBitmap = 5,
    kOsdText = 6,
    kOsdButton = 7,
};

// No virtual destructor: an object is removed by FreeResources() and then by
// freeing its storage (DestroyOsdObject), so destructors never run. Every
// subclass therefore keeps only members whose heap storage FreeResources()
// gives back (see PixelImage); what remains is plain data.
class CBaseOsdObject {
public:
    virtual HRESULT Draw() = 0;
    virtual void FreeResources() {}

    HRESULT status = S_OK;   // 0 once built completely; only such objects enter the list
    uint32_t filled = 0;
    uint32_t color = 0;      // 0xAABBGGRR
    noxd::OverlayRenderer* renderer = nullptr;
    OsdKind kind = kOsdRectangle;
    UINT_PTR handle = 0;     // given by the list when the object enters it; never reused

protected:
    CBaseOsdObject(noxd::OverlayRenderer* owner, OsdKind k) : renderer(owner), kind(k) {
        if (!owner) status = E_INVALIDARG;
    }
    ~CBaseOsdObject() = default;
};

// Overlays built and freed in the process so far, counted so white-box tests
// can show that every overlay is freed exactly once. Any thread.
struct OsdObjectTally {
    std::atomic<long> built{0};
    std::atomic<long> freed{0};
};
OsdObjectTally& OsdObjects();

// Allocates and constructs an overlay; null when memory is short. Its storage
// is given back by DestroyOsdObject.
template <typename T, typename... Args>
T* NewOsdObject(Args&&... args) {
    void* storage = ::operator new(sizeof(T), std::nothrow);
    if (!storage) return nullptr;
    ++OsdObjects().built;
    return new (storage) T(std::forward<Args>(args)...);
}

// FreeResources() then the storage; every removal path goes through here.
void DestroyOsdObject(CBaseOsdObject* object);
