// Frame layouts, plane offsets, the viewport and decoded-frame descriptors:
// no overflow or undefined behaviour for any numbers, and no upload of a
// frame reads past the frame's documented size.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "examples/viewer/decoded_frame.h"
#include "renderer/frame_layout.h"

namespace {

size_t DocumentedFrameBytes(noxd::FormatClass cls, size_t w, size_t h) {
    switch (cls) {
    case noxd::FormatClass::I420: return w * h * 3 / 2;
    case noxd::FormatClass::Uyvy:
    case noxd::FormatClass::Yuy2: return 4 * ((w + 1) / 2) * h;
    case noxd::FormatClass::Bgr32: return 4 * w * h;
    case noxd::FormatClass::Bgr24: return ((3 * w + 3) & ~size_t{3}) * h;
    }
    return 0;
}

void CheckFrameLayout(FuzzedDataProvider& in) {
    const auto cls = noxd::FormatClassOf(in.ConsumeIntegral<int>());
    const int32_t w = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    const int32_t h = in.ConsumeIntegralInRange<int32_t>(1, 8192);
    if (!cls) return;
    if (noxd::FrameBytes(*cls, w, h) > DocumentedFrameBytes(*cls, w, h)) std::abort();
    noxd::TexturePlanFor(*cls, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                         noxd::I420PlaneOffsets(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>()));
    noxd::UprightVideoQuad(*cls);
}

void CheckViewport(FuzzedDataProvider& in) {
    const float l = in.ConsumeFloatingPointInRange<float>(-4, 4), b = in.ConsumeFloatingPointInRange<float>(-4, 4);
    const float r = in.ConsumeFloatingPointInRange<float>(-4, 4), t = in.ConsumeFloatingPointInRange<float>(-4, 4);
    noxd::ViewportFromVideoPos(l, b, r, t, in.ConsumeIntegralInRange<int32_t>(0, 1 << 16),
                               in.ConsumeIntegralInRange<int32_t>(0, 1 << 16));
}

// A descriptor whose payload is a buffer of ours, as long as it claims.
void CheckDescriptor(FuzzedDataProvider& in) {
    // Words up to 40, then the payload address as a native pointer.
    uint8_t desc[40 + sizeof(const uint8_t*)] = {};
    in.ConsumeData(desc, 40);
    std::vector<uint8_t> payload(in.ConsumeIntegralInRange<size_t>(0, 1 << 16));
    const uint8_t* address = payload.data();
    std::memcpy(desc + 40, &address, sizeof address);
    const nox::FrameDesc frame = nox::ReadDecodedFrameDesc(desc);
    const auto format = in.ConsumeBool() ? viewer::PictureFormat::kYuy2 : viewer::PictureFormat::kRgb32;
    const uint32_t w = in.ConsumeIntegralInRange<uint32_t>(0, 4096), h = in.ConsumeIntegralInRange<uint32_t>(0, 4096);
    viewer::RendererFrameBytes(format, w, h);
    if (!viewer::Fits(frame, format, w, h) || frame.payload != payload.data() || frame.length > payload.size())
        return;
    std::vector<uint8_t> out;
    viewer::CopyToRendererLayout(frame, format, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    CheckFrameLayout(in);
    CheckViewport(in);
    CheckDescriptor(in);
    return 0;
}
