// Frame layouts, plane offsets, the viewport and decoded-frame descriptors:
// no overflow or undefined behaviour for any numbers, and no upload of a
// frame reads past the frame's documented size.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "examples/viewer/decoded_frame.h"
#include "math/frame_layout.h"

namespace {

size_t DocumentedFrameBytes(noxd::FormatClass cls, size_t w, size_t h) {
    switch (cls) {
    case noxd::FormatClass::I420: return w * h * 3 / 2;
    case noxd::FormatClass::Uyvy:
    case noxd::FormatClass::Yuy2: return 4 * ((w + 1) / 2) * h;
    case noxd::FormatClass::Bgr32: return 4 * w * h;
    case noxd::FormatClass::Bgr24: return ((3 * w + 3) & ~size_t{3}) * h;
    case noxd::FormatClass::Nv12:
    case noxd::FormatClass::Nv21: return w * h + w * (h / 2);
    }
    return 0;
}

void CheckFrameLayout(FuzzedDataProvider& in) {
    const auto cls = noxd::FormatClassOf(in.ConsumeIntegral<int>());
    const int32_t w = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    const int32_t h = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    if (!cls) return;
    if (noxd::FrameBytes(*cls, w, h) > DocumentedFrameBytes(*cls, w, h)) std::abort();
    noxd::TexturePlanFor({*cls, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                          in.ConsumeBool() ? noxd::ChromaSize::RoundedUp : noxd::ChromaSize::Truncated});
}

// Any descriptor numbers: a frame the checks let through reads only rows
// inside the address space, each from its plane's top row within the range
// the pitch and row count give.
void CheckPlanes(FuzzedDataProvider& in) {
    const auto cls = noxd::FormatClassOf(in.ConsumeIntegral<int>());
    if (!cls) return;
    noxd::FramePlanes frame = {{*cls, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                                noxd::ChromaSize::RoundedUp},
                               {}};
    for (auto& plane : frame.planes)
        plane = {reinterpret_cast<const uint8_t*>(in.ConsumeIntegral<uintptr_t>()), in.ConsumeIntegral<int32_t>()};
    if (noxd::PlanesFault(frame, 16384)) return;
    const noxd::TexturePlan plan = noxd::TexturePlanFor(frame.geometry);
    for (int i = 0; i < plan.count; ++i) {
        const noxd::TextureUpload& t = plan.uploads[i];
        const noxd::PlaneRows& plane = frame.planes[t.plane];
        const size_t row = static_cast<size_t>(t.width) * noxd::BytesPerTexel(t.layout);
        const uint64_t span = static_cast<uint64_t>(t.height - 1) * static_cast<uint64_t>(plane.pitch < 0 ? -int64_t{plane.pitch} : plane.pitch);
        const uint64_t top = reinterpret_cast<uintptr_t>(plane.top);
        if (plane.pitch < 0 ? span > top : span + row - 1 > UINTPTR_MAX - top) std::abort();
        if (row > static_cast<uint64_t>(plane.pitch < 0 ? -int64_t{plane.pitch} : plane.pitch)) std::abort();
    }
}

void CheckViewport(FuzzedDataProvider& in) {
    const float l = in.ConsumeFloatingPointInRange<float>(-4, 4), b = in.ConsumeFloatingPointInRange<float>(-4, 4);
    const float r = in.ConsumeFloatingPointInRange<float>(-4, 4), t = in.ConsumeFloatingPointInRange<float>(-4, 4);
    noxd::ViewportFromVideoPos(l, b, r, t, in.ConsumeIntegralInRange<int32_t>(0, 1 << 16),
                               in.ConsumeIntegralInRange<int32_t>(0, 1 << 16));
}

// Bytes of one row of a plane the renderer reads, and how many rows.
size_t PlaneRowBytes(const viewer::PlaneLayout& layout, int plane) {
    const size_t w = layout.width, pairs = (w + 1) / 2;
    switch (layout.format) {
    case viewer::kRendererYuy2: return 4 * pairs;
    case viewer::kRendererBgr32: return 4 * w;
    case viewer::kRendererBgr24: return 3 * w;
    case viewer::kRendererNv12: return plane == 0 ? w : 2 * pairs;
    }
    std::abort();
}
size_t PlaneRows(const viewer::PlaneLayout& layout, int plane) {
    return plane == 0 ? layout.height : (layout.height + 1) / 2;
}

// A descriptor whose payload is a buffer of ours, as long as it claims: a
// picture taken is copied whole, and every row the renderer reads of every
// plane lies in the copy.
void CheckDescriptor(FuzzedDataProvider& in) {
    // Words up to 40, then the payload address as a native pointer.
    uint8_t desc[sizeof(nox::FrameDesc)] = {};
    in.ConsumeData(desc, 40);
    std::vector<uint8_t> payload(in.ConsumeIntegralInRange<size_t>(0, 1 << 16));
    const uint8_t* address = payload.data();
    std::memcpy(desc + 40, &address, sizeof address);
    const nox::FrameDesc frame = nox::ReadDecodedFrameDesc(desc);
    viewer::PlaneLayout layout;
    if (!viewer::LayoutOf(frame, &layout) || frame.payload != payload.data() || frame.length > payload.size())
        return;
    std::vector<uint8_t> out;
    viewer::CopyPicture(frame, layout, out);
    for (int plane = 0; plane < 3; ++plane) {
        if (layout.pitch[plane] == 0) continue;
        if (layout.pitch[plane] < 0 || static_cast<size_t>(layout.pitch[plane]) < PlaneRowBytes(layout, plane))
            std::abort();
        const size_t end = layout.offset[plane] + (PlaneRows(layout, plane) - 1) * layout.pitch[plane] +
                           PlaneRowBytes(layout, plane);
        if (end > out.size()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    CheckFrameLayout(in);
    CheckPlanes(in);
    CheckViewport(in);
    CheckDescriptor(in);
    return 0;
}
