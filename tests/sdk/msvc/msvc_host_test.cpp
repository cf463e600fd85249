// The host built as Visual Studio builds it (msvc_host.c, against noxd.lib),
// once with each default calling convention a project may set, run from
// this program's folder: what it read back through noxd.dll, line by line.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ambrel_process.h"

namespace {

struct Host {
    const char* program;
    const char* default_convention;  // the project's /Gd, /Gz or /Gr
};
// The case's name in ctest's listing.
void PrintTo(const Host& host, std::ostream* os) { *os << host.default_convention; }

class MsvcHostTest : public ::testing::TestWithParam<Host> {};

// The frames' colours and sizes come back through the snapshot, the counts
// through the statistics; in 32-bit no call left the stack elsewhere.
TEST_P(MsvcHostTest, DrawsItsFramesAndReadsThemBack) {
    AmbrelProcess host(ProgramFolder() / GetParam().program, {}, ProgramFolder());
    const DWORD code = host.Finish();
    std::string expected =
        "frame 2x2 200 40 90\n"
        "planes 3x2 30 160 220\n"
        "stats 2 frames, 3x2, format 11, path 0\n";
#ifndef _WIN64
    expected += "stack kept over 9 calls\n";
#endif
    EXPECT_EQ(host.Output(), expected);
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(DefaultConvention, MsvcHostTest,
                         ::testing::Values(Host{"noxd_msvc_host_gd.exe", "Cdecl"},
                                           Host{"noxd_msvc_host_gz.exe", "Stdcall"},
                                           Host{"noxd_msvc_host_gr.exe", "Fastcall"}));

}  // namespace
