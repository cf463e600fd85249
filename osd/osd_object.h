// The overlay object model: every on-screen overlay is a CBaseOsdObject that
// draws itself into the current GL context and frees what it holds.
#pragma once

#include <windows.h>

#include <cstdint>

struct CGLRenderer;

enum OsdKind : uint32_t {
    kOsdRectangle = 0,
    kOsdEllipse = 1,
    kOsdTriangle = 2,
    kOsdLine = 3,
    kOsdPoint = 4,
    kOsdBitmap = 5,
    kOsdText = 6,
    kOsdButton = 7,
};

// No virtual destructor: an object is removed by FreeResources() and then
// freeing its storage (DestroyOsdObject).
class CBaseOsdObject {
public:
    virtual HRESULT Draw() = 0;
    virtual void FreeResources() {}

    HRESULT status = S_OK;   // 0 once built completely; only such objects enter the list
    uint32_t filled = 0;
    uint32_t color = 0;      // 0xAABBGGRR
    CGLRenderer* renderer = nullptr;
    OsdKind kind = kOsdRectangle;

protected:
    CBaseOsdObject(CGLRenderer* owner, OsdKind k) : renderer(owner), kind(k) {
        if (!owner) status = E_INVALIDARG;
    }
    ~CBaseOsdObject() = default;
};

// FreeResources() then the storage; every removal path goes through here.
void DestroyOsdObject(CBaseOsdObject* object);
