// Overlay pixel arithmetic: conversions of rows of any stride, keying, text
// alpha and image placement on any input.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "math/osd_pixels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t w = in.ConsumeIntegralInRange<uint32_t>(1, 64);
    const uint32_t h = in.ConsumeIntegralInRange<uint32_t>(1, 64);
    const int depth = in.PickValueInArray({8, 16, 24});
    const size_t stride = w * (depth / 8) + in.ConsumeIntegralInRange<size_t>(0, 8);
    std::vector<uint32_t> palette(in.ConsumeIntegralInRange<size_t>(0, 256));
    for (uint32_t& entry : palette) entry = in.ConsumeIntegral<uint32_t>();
    const uint32_t key = in.ConsumeIntegral<uint32_t>();
    const uint8_t key_alpha = in.ConsumeIntegral<uint8_t>();
    const noxd::ImageCorners corners = {in.ConsumeFloatingPoint<float>(), in.ConsumeFloatingPoint<float>(),
                                        in.ConsumeFloatingPoint<float>(), in.ConsumeFloatingPoint<float>()};
    const int32_t anchor = in.ConsumeIntegral<int32_t>();
    const double vw = in.ConsumeFloatingPoint<double>(), vh = in.ConsumeFloatingPoint<double>();
    noxd::TextCanvasSize(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
    noxd::IsAcceptedBitmapSize(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                               in.ConsumeIntegral<int32_t>());
    noxd::PlaceImage(corners, anchor, vw, vh);

    std::vector<uint8_t> rows = in.ConsumeRemainingBytes<uint8_t>();
    rows.resize(stride * h);
    noxd::PixelImage image;
    if (!image.Allocate(w, h)) return 0;
    if (depth == 8)
        noxd::ConvertRows8(rows.data(), stride, palette.data(), palette.size(), image);
    else if (depth == 16)
        noxd::ConvertRows16(rows.data(), stride, image);
    else
        noxd::ConvertRows24(rows.data(), stride, image);
    noxd::ApplyColourKey(image, key, key_alpha);
    noxd::ApplyTextAlpha(image, key, ~key, key ^ 0x00FF00FFu);
    return 0;
}
