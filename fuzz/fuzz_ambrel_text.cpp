// ambrel's plain logic: the command-line parser on any arguments, bitmap
// layouts, headers and rows from any descriptor numbers, file naming and
// the console texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "ambrel/bmp.h"
#include "ambrel/console_text.h"
#include "ambrel/settings.h"

namespace {

void ParseArguments(FuzzedDataProvider& in) {
    std::vector<std::string> args = {"ambrel.exe"};
    for (int n = in.ConsumeIntegralInRange<int>(0, 12); n > 0; --n) args.push_back(in.ConsumeRandomLengthString(160));
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    Settings settings;
    std::ostringstream out;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &settings, out);
}

// A payload as long as the descriptor says, written out as a bitmap.
void WriteBitmap(FuzzedDataProvider& in) {
    const uint32_t media = in.ConsumeIntegral<uint32_t>();
    const uint32_t stride = in.ConsumeIntegralInRange<uint32_t>(0, 4096);
    const uint32_t length = in.ConsumeIntegralInRange<uint32_t>(0, 1 << 16);
    BmpLayout layout;
    if (!ComputeBmpLayout(media, stride, length, &layout)) return;
    BmpHeaders(layout);
    const std::vector<uint8_t> payload(length, 0x5A);
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (!sink) return;
    WriteBmp(sink, layout, payload.data());
    std::fclose(sink);
}

void NameAndTexts(FuzzedDataProvider& in) {
    const std::string path = in.ConsumeRandomLengthString(300);
    PartialBmpName(BmpFileName(RemoveExtension(path), in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int>()));
    ChannelNoticeText(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
    FormatLogLine(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(), path);
    BaseName(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    ParseArguments(in);
    WriteBitmap(in);
    NameAndTexts(in);
    return 0;
}
