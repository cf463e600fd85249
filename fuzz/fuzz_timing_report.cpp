// The frame-rate report: timing points passed at any clock values, with any
// names, and debug lines of any message.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "math/timing_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string name = in.ConsumeRandomLengthString(300);
    size_t label_width = in.ConsumeIntegralInRange<size_t>(0, 400);
    noxd::TimingPoint point =
        noxd::MakeTimingPoint(name.c_str(), in.ConsumeIntegral<int>(), in.ConsumeIntegral<uint32_t>(), label_width);
    for (int passes = in.ConsumeIntegralInRange<int>(0, 200); passes > 0; --passes)
        noxd::PassTimingPoint(point, in.ConsumeIntegral<uint32_t>(), label_width);
    noxd::FormatRateReport(point, label_width, in.ConsumeFloatingPoint<double>());
    const std::string message = in.ConsumeRandomLengthString(2000);
    noxd::FormatDebugLine(in.ConsumeIntegral<uint32_t>(), message);
    char line[noxd::kDebugLineSize];
    noxd::FormatDebugLineInto(line, in.ConsumeIntegral<uint32_t>(), message.c_str());
    return 0;
}
