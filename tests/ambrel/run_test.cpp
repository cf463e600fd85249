// Whole runs of ambrel.exe against the stand-in nox.dll: console lines,
// the calls the component saw, and the files written.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "ambrel_process.h"
#include "nox.h"
#include "sim_media.h"

namespace fs = std::filesystem;

namespace {

const char kPrompt[] = "press any key to exit";
const char kUsage[] =
    "\nZEL Live decoder usage:\n"
    "ambrel\r\n-i<ip_address<:port>>\r\n-l<login:password>\r\n-e<in_file>\r\n"
    "-d<out_file>\r\n-f<0:YUY2;1:RGB32;2:RGB24>\r\n"
    "-t<frame period (default is equal 30)>\r\n-bmp - bmp file sequence\n"
    "press any key to exit";

// "output decoded frames(i) ptr" as printed for decoded frame number n = i + 1.
std::string DecodedLine(int index) {
    return "output decoded frames(" + std::to_string(index) + ") ptr";
}

std::string Concat(const std::vector<std::vector<uint8_t>>& blocks) {
    std::string all;
    for (const auto& block : blocks) all.append(block.begin(), block.end());
    return all;
}

std::string EncodedPayloads(int count, int step = 1) {
    std::vector<std::vector<uint8_t>> payloads;
    for (int seq = 0; seq < count; seq += step) {
        payloads.push_back(noxsim::EncodePayload(seq, noxsim::kDefaultWidth, noxsim::kDefaultHeight));
    }
    return Concat(payloads);
}

// Decoded frame n (from 1) is the picture of the stream's frame n - 1.
std::vector<uint8_t> Picture(int n, uint32_t mediaType) {
    return noxsim::RenderPicture(n - 1, noxsim::kDefaultWidth, noxsim::kDefaultHeight, mediaType);
}

// Frame numbers the tool writes out of `decoded` frames with period N.
std::vector<int> SelectedFrames(int decoded, int period) {
    std::vector<int> selected;
    for (int n = 1; n <= decoded; ++n) {
        if (n == 1 || n % period == 0) selected.push_back(n);
    }
    return selected;
}

std::string ExpectedRawDump(int decoded, int period, uint32_t mediaType) {
    std::vector<std::vector<uint8_t>> pictures;
    for (int n : SelectedFrames(decoded, period)) pictures.push_back(Picture(n, mediaType));
    return Concat(pictures);
}

// The bitmap files in folder, oldest first: by second, then by counter.
std::vector<fs::path> BitmapsInOrder(const fs::path& folder) {
    std::vector<std::pair<std::pair<long long, int>, fs::path>> found;
    const std::regex name(R"(.*?_(-?\d+)(?:_(\d+))?\.bmp)");
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        if (!std::regex_match(file, m, name)) continue;
        found.push_back({{std::stoll(m[1]), m[2].matched ? std::stoi(m[2]) : 0}, entry.path()});
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> paths;
    for (const auto& f : found) paths.push_back(f.second);
    return paths;
}

// The bitmap of a top-row-first picture: headers, then the rows bottom-up.
void ExpectBitmapOf(const std::string& bmp, const std::vector<uint8_t>& picture, uint32_t stride,
                    uint16_t bits) {
    const size_t rows = picture.size() / stride;
    ASSERT_EQ(bmp.size(), 54 + picture.size());
    int32_t width, height;
    uint16_t bitCount;
    std::memcpy(&width, bmp.data() + 18, 4);
    std::memcpy(&height, bmp.data() + 22, 4);
    std::memcpy(&bitCount, bmp.data() + 28, 2);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(bitCount, bits);
    for (size_t r = 0; r < rows; ++r) {
        const uint8_t* expected = picture.data() + (rows - 1 - r) * stride;
        ASSERT_EQ(std::memcmp(bmp.data() + 54 + r * stride, expected, stride), 0) << "file row " << r;
    }
}

class AmbrelRun : public testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("NOX_SIM_LOG", (folder_ / "calls.log").string().c_str());
        SetEnvironmentVariableA("NOX_SIM_FAULT", nullptr);
    }

    void Fault(const char* names) { SetEnvironmentVariableA("NOX_SIM_FAULT", names); }

    // Runs until `decoded` decoded frames were reported, then presses Enter.
    RunResult Stream(const std::vector<std::string>& args, int decoded) {
        return RunAmbrel(args, folder_.path(), DecodedLine(decoded - 1));
    }

    // The component's call log; frames pushed to the decoder are counted
    // apart, as they go on until the live object is released.
    std::vector<std::string> Calls(size_t* pushes = nullptr) {
        std::vector<std::string> calls;
        size_t pushed = 0;
        for (const std::string& line : ReadLines(folder_ / "calls.log")) {
            if (line != "PushEncodedData 1") {
                calls.push_back(line);
            } else if (pushed++ == 0) {
                EXPECT_EQ(calls.back(), "StartStreamDataEvent 1 0") << "first frame pushed too early";
            }
        }
        if (pushes) *pushes = pushed;
        return calls;
    }

    ScratchFolder folder_;
};

TEST_F(AmbrelRun, MissingAddressPrintsUsageAndTouchesNothing) {
    const RunResult run = RunAmbrel({}, folder_.path());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, AsWritten(std::string("err: ip_address was not entered\n") + kUsage));
    EXPECT_TRUE(fs::is_empty(folder_.path()));
}

TEST_F(AmbrelRun, OverlongValueEndsLikeAMissingAddress) {
    const RunResult run = RunAmbrel({"-i10.0.0.1", "-ladmin:" + std::string(120, 'p')}, folder_.path());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, AsWritten(std::string("err: value of -l is longer than 99 characters\n") + kUsage));
    EXPECT_TRUE(fs::is_empty(folder_.path()));
}

TEST_F(AmbrelRun, StreamsYuy2IntoBothDumps) {
    const RunResult run = Stream({"-i10.0.0.1:8000", "-ladmin:secret", "-t10"}, 25);
    EXPECT_EQ(run.exitCode, 0u);
    const std::string& out = run.output;
    EXPECT_EQ(out.rfind(AsWritten("warn: enc file name is empty. changed to dump.264\n"
                                  "input (enc) file dump.264\n"
                                  "warn: dec file name is empty\n"
                                  "output (dec) file dump.yuy\n"), 0), 0u);
    EXPECT_NE(out.find(kPrompt), std::string::npos);
    EXPECT_NE(out.find(AsWritten("OnChannelNotify: CONNECTED\r\nOnChannelNotify: STREAMED\r\n")), std::string::npos);

    const int encoded = static_cast<int>(CountOf(out, "input encoded frames("));
    const int decoded = static_cast<int>(CountOf(out, "output decoded frames("));
    ASSERT_GE(decoded, 25);
    ASSERT_GE(encoded, decoded);
    // The prompt ends without a line break, so the line a stream thread
    // writes next may follow it on the same line.
    const std::regex frameLine(
        R"((?:press any key to exit)?input encoded frames\((\d+)\) ptr\(0x[0-9a-f]{8,16}\), data\(0x0000002c\))");
    int next = 0;
    for (const std::string& line : SplitLines(out)) {
        std::smatch m;
        if (std::regex_match(line, m, frameLine)) {
            EXPECT_EQ(std::stoi(m[1]), next++);
        }
    }
    EXPECT_EQ(next, encoded);

    EXPECT_EQ(ReadFileBytes(folder_ / "dump.264"), EncodedPayloads(encoded));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.yuy"), ExpectedRawDump(decoded, 10, QZ_MTC_RAW_YUV422));

    const std::vector<std::string> expectedCalls = {
        "SetOption 1 vt=3 0", "SetOption 9 vt=3 0", "Connect 10.0.0.1:8000 admin secret",
        "SetChannelOption 1 -1", "Open 0 0", "SetOutputFormat 1 33", "StartDecoding 1", "Advise",
        "StartStreamDataEvent 1 0", "StopDecoding 1", "ReleaseLive"};
    size_t pushes = 0;
    EXPECT_EQ(Calls(&pushes), expectedCalls);
    EXPECT_EQ(pushes, static_cast<size_t>(encoded));  // each encoded frame once
}

TEST_F(AmbrelRun, UnknownFormatAsksForRgb32) {
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-f5", "-t4", "-eenc.bin"}, 9);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find(AsWritten("output (dec) file dump.rgb\n")), std::string::npos);
    const auto calls = Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetOutputFormat 1 34"), calls.end());
    const int decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.rgb"), ExpectedRawDump(decoded, 4, QZ_MTC_RAW_RGB32));
    EXPECT_FALSE(fs::exists(folder_ / "dump.264"));
    EXPECT_TRUE(fs::exists(folder_ / "enc.bin"));
}

TEST_F(AmbrelRun, Rgb32BitmapsInsteadOfTheDecodedDump) {
    fs::create_directory(folder_ / "shots.d");
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-f1", "-bmp", "-t5", "-dshots.d\\cam.rgb"}, 11);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(fs::exists(folder_ / "shots.d" / "cam.rgb"));
    const int decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    const std::vector<int> selected = SelectedFrames(decoded, 5);
    const auto bitmaps = BitmapsInOrder(folder_ / "shots.d");
    ASSERT_EQ(bitmaps.size(), selected.size());
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        EXPECT_EQ(bitmaps[i].filename().string().rfind("cam_", 0), 0u);
        const std::string bmp = ReadFileBytes(bitmaps[i]);
        EXPECT_EQ(bmp.size(), 1228854u);
        ExpectBitmapOf(bmp, Picture(selected[i], QZ_MTC_RAW_RGB32), 2560, 32);
    }
}

TEST_F(AmbrelRun, Rgb24Bitmaps) {
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-f2", "-bmp", "-t3"}, 4);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(fs::exists(folder_ / "dump.rgb"));
    const auto bitmaps = BitmapsInOrder(folder_.path());
    ASSERT_GE(bitmaps.size(), 2u);
    EXPECT_EQ(bitmaps[0].filename().string().rfind("dump_", 0), 0u);
    ExpectBitmapOf(ReadFileBytes(bitmaps[0]), Picture(1, QZ_MTC_RAW_RGB888), 1920, 24);
    ExpectBitmapOf(ReadFileBytes(bitmaps[1]), Picture(3, QZ_MTC_RAW_RGB888), 1920, 24);
}

TEST_F(AmbrelRun, BmpSwitchWithYuy2WritesRaw) {
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-bmp", "-t2"}, 4);
    EXPECT_EQ(run.exitCode, 0u);
    const int decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.yuy"), ExpectedRawDump(decoded, 2, QZ_MTC_RAW_YUV422));
    EXPECT_TRUE(BitmapsInOrder(folder_.path()).empty());
}

TEST_F(AmbrelRun, DumpFileThatCannotBeCreated) {
    RunResult run = RunAmbrel({"-i10.0.0.1", "-eZ:\\no\\such\\folder\\x.264"}, folder_.path());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.output.find(AsWritten("err: cannot open Z:\\no\\such\\folder\\x.264\n") + kPrompt),
              std::string::npos);
    run = RunAmbrel({"-i10.0.0.1", "-dZ:\\no\\such\\folder\\x.yuy"}, folder_.path());
    EXPECT_NE(run.output.find(AsWritten("err: cannot open Z:\\no\\such\\folder\\x.yuy\n") + kPrompt),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder_ / "calls.log"));  // no component call
}

struct FailingStep {
    const char* fault;
    std::vector<std::string> args;
    const char* code;
    const char* expression;
};

void PrintTo(const FailingStep& step, std::ostream* os) {
    *os << step.expression;
}

class AmbrelGuardedStep : public AmbrelRun, public testing::WithParamInterface<FailingStep> {};

// Each guarded step that fails logs its line, closes and exits with 0.
TEST_P(AmbrelGuardedStep, FailureEndsTheRunWithItsErrorLine) {
    const FailingStep& step = GetParam();
    if (step.fault[0]) Fault(step.fault);
    std::vector<std::string> args = {"-i10.0.0.1"};
    args.insert(args.end(), step.args.begin(), step.args.end());
    const RunResult run = RunAmbrel(args, folder_.path());
    EXPECT_EQ(run.exitCode, 0u);
    const std::string escaped = std::regex_replace(step.expression, std::regex(R"([.()&|?*+\[\]])"), R"(\$&)");
    const std::regex ending("(^|\\n)nox \\d\\d:\\d\\d:\\d\\d NOX error\\(" + std::string(step.code) +
                            "\\): file:ambrel\\.cpp, line:\\d+, expr:" + escaped + "\\r\\n" + kPrompt + "$");
    EXPECT_TRUE(std::regex_search(run.output, ending)) << run.output;
    EXPECT_EQ(CountOf(run.output, "frames("), 0u);
    EXPECT_TRUE(fs::exists(folder_ / "dump.264"));
    EXPECT_EQ(fs::file_size(folder_ / "dump.264"), 0u);
    // The closing releases both objects; once bound to the decoder, the sink
    // keeps the decoder alive to the end of the process.
    const auto calls = Calls();
    const std::string fault = step.fault;
    const bool sinkHoldsDecoder = fault == "advise" || fault == "start-stream";
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "ReleaseLive");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ReleaseDecode"), sinkHoldsDecoder ? 0 : 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "StartStreamDataEvent 1 0"), fault == "start-stream" ? 1 : 0);
}

const char kConnect[] = "ini.pLive->Connect(bsAddr, bsLogin, bsPass, &ini.lChID)";
INSTANTIATE_TEST_SUITE_P(
    Steps, AmbrelGuardedStep,
    testing::Values(
        FailingStep{"", {"-lguest:pw"}, "0x8004020e", kConnect},
        FailingStep{"", {"-ladmin:wrong"}, "0x8004020c", kConnect},
        FailingStep{"", {"-icam.invalid:80", "-ladmin:pw"}, "0x8004020f", kConnect},
        FailingStep{"connect", {"-ladmin:pw"}, "0x80004005", kConnect},
        FailingStep{"open", {"-ladmin:pw"}, "0x80004005",
                    "ini.pDecode->Open(VARIANT_FALSE, VARIANT_FALSE, pUnk_capturer, &ini.lChID_dec)"},
        FailingStep{"set-output-format", {"-ladmin:pw"}, "0x80004005",
                    "ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_YUV422, &bRet)"},
        FailingStep{"set-output-format", {"-ladmin:pw", "-f1"}, "0x80004005",
                    "ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_RGB32, &bRet)"},
        FailingStep{"set-output-format", {"-ladmin:pw", "-f9"}, "0x80004005",
                    "ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_RGB32, &bRet)"},
        FailingStep{"set-output-format", {"-ladmin:pw", "-f2"}, "0x80004005",
                    "ini.pDecode->SetOutputFormat(ini.lChID_dec, QZ_MTC_RAW_RGB888, &bRet)"},
        FailingStep{"start-decoding", {"-ladmin:pw"}, "0x80004005",
                    "ini.pDecode->StartDecoding(ini.lChID_dec, &bRet)"},
        FailingStep{"advise", {"-ladmin:pw"}, "0x80004005",
                    "AtlAdvise(ini.pLive, pUnk_capturer, DIID__INOXLiveControlEvents, &ini.dwcap_Cookie)"},
        FailingStep{"start-stream", {"-ladmin:pw"}, "0x80004005",
                    "ini.pLive->StartStreamDataEvent(ini.lChID, 0)"}));

// The stream misbehaves on every frame with an odd sequence number.
TEST_F(AmbrelRun, EncodedFramesOfAWrongVersionOrWithoutReferenceAreDropped) {
    Fault("bad-enc-size");
    RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1000"}, 6);
    int encoded = static_cast<int>(CountOf(run.output, "input encoded frames("));
    const size_t conflicts = CountOf(run.output, "nox version conflict1\r\n");
    EXPECT_TRUE(conflicts == static_cast<size_t>(encoded) || conflicts + 1 == static_cast<size_t>(encoded));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.264"), EncodedPayloads(2 * encoded, 2));

    Fault("no-byref");
    run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1000"}, 6);
    encoded = static_cast<int>(CountOf(run.output, "input encoded frames("));
    EXPECT_EQ(CountOf(run.output, "conflict"), 0u);
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.264"), EncodedPayloads(2 * encoded, 2));
}

TEST_F(AmbrelRun, EmptyEncodedFramesAreReportedAndNotDumped) {
    Fault("empty-enc");
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1000"}, 6);
    const int encoded = static_cast<int>(CountOf(run.output, "input encoded frames("));
    EXPECT_EQ(CountOf(run.output, "err: enc can't write data\r\n"), static_cast<size_t>(encoded / 2));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.264"), EncodedPayloads(encoded, 2));
}

TEST_F(AmbrelRun, RefusedDecodedFramesAreCountedButNotWritten) {
    Fault("bad-dec-size,null-payload");
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1"}, 8);
    const int decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    EXPECT_EQ(CountOf(run.output, "nox version conflict2\r\n"), static_cast<size_t>(decoded / 2));
    EXPECT_EQ(CountOf(run.output, "err: no dec data"), 0u);  // the size check comes first
    std::vector<std::vector<uint8_t>> even;
    for (int n = 1; n <= decoded; n += 2) even.push_back(Picture(n, QZ_MTC_RAW_YUV422));
    EXPECT_EQ(ReadFileBytes(folder_ / "dump.yuy"), Concat(even));
}

TEST_F(AmbrelRun, DecodedFramesWithoutPayloadOrStride) {
    Fault("null-payload");
    RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1"}, 6);
    int decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    EXPECT_EQ(CountOf(run.output, "err: no dec data\r\n"), static_cast<size_t>(decoded / 2));

    Fault("zero-stride");
    run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t1", "-f1", "-bmp"}, 6);
    EXPECT_EQ(run.exitCode, 0u);
    decoded = static_cast<int>(CountOf(run.output, "output decoded frames("));
    EXPECT_EQ(CountOf(run.output, "err: dec frame skipped: stride 0, length 1228800\r\n"),
              static_cast<size_t>(decoded / 2));
    const auto bitmaps = BitmapsInOrder(folder_.path());
    ASSERT_EQ(bitmaps.size(), static_cast<size_t>((decoded + 1) / 2));
    ExpectBitmapOf(ReadFileBytes(bitmaps.back()), Picture(2 * static_cast<int>(bitmaps.size()) - 1, QZ_MTC_RAW_RGB32),
                   2560, 32);
}

// A component that floods frames and never stops: closing still leaves only
// whole frames in the dumps, and the run ends cleanly.
TEST_F(AmbrelRun, ClosingWhileAFloodGoesOn) {
    Fault("flood,linger");
    const RunResult run = Stream({"-i10.0.0.1", "-ladmin:pw", "-t50"}, 60);
    EXPECT_EQ(run.exitCode, 0u);
    const std::string dump = ReadFileBytes(folder_ / "dump.264");
    size_t at = 0;
    uint32_t seq = 0;
    for (; at < dump.size(); ++seq) {
        const auto payload = noxsim::EncodePayload(seq, noxsim::kDefaultWidth, noxsim::kDefaultHeight);
        ASSERT_EQ(dump.compare(at, payload.size(), std::string(payload.begin(), payload.end())), 0)
            << "frame " << seq;
        at += payload.size();
    }
    EXPECT_GE(seq, 60u);
    const std::string raw = ReadFileBytes(folder_ / "dump.yuy");
    const auto first = Picture(1, QZ_MTC_RAW_YUV422);
    ASSERT_GE(raw.size(), 2 * first.size());
    EXPECT_EQ(raw.size() % first.size(), 0u);
    EXPECT_EQ(raw.compare(0, first.size(), std::string(first.begin(), first.end())), 0);
}

// Every frame in the dumps whole: the encoded dump is the sequence of
// encoded payloads, the decoded dump whole YUY2 pictures.
void ExpectWholeFrameDumps(const fs::path& folder) {
    const std::string dump = ReadFileBytes(folder / "dump.264");
    size_t at = 0;
    for (uint32_t seq = 0; at < dump.size(); ++seq) {
        const auto payload = noxsim::EncodePayload(seq, noxsim::kDefaultWidth, noxsim::kDefaultHeight);
        ASSERT_EQ(dump.compare(at, payload.size(), std::string(payload.begin(), payload.end())), 0)
            << "frame " << seq;
        at += payload.size();
    }
    EXPECT_EQ(ReadFileBytes(folder / "dump.yuy").size() % Picture(1, QZ_MTC_RAW_YUV422).size(), 0u);
}

// Enter at a random moment of a flood that never stops, run after run: the
// process ends within 2 s with status 0 and the dumps hold whole frames.
TEST_F(AmbrelRun, EnterAtARandomMomentOfAFloodEndsPromptlyAndCleanly) {
    // ./run soak sets NOXD_SOAK for the long form.
    const int kRuns = std::getenv("NOXD_SOAK") ? 1000 : 100;
    Fault("flood,linger");
    std::mt19937 random(13);
    for (int run = 0; run < kRuns; ++run) {
        const ScratchFolder folder;
        AmbrelProcess ambrel(ProgramFolder() / "ambrel.exe", {"-i10.0.0.1", "-ladmin:pw"}, folder.path());
        ASSERT_TRUE(ambrel.WaitForOutput(DecodedLine(0))) << "run " << run;
        Sleep(std::uniform_int_distribution<DWORD>(0, 150)(random));
        ambrel.PressEnter();
        EXPECT_TRUE(ambrel.EndsWithin(2000)) << "run " << run;
        ASSERT_EQ(ambrel.Finish(), 0u) << "run " << run;
        ExpectWholeFrameDumps(folder.path());
        if (HasFailure()) return;
    }
}

// Killed at a random moment while it writes bitmaps: every file under a
// bitmap's name is a whole bitmap.
TEST_F(AmbrelRun, KilledWhileWritingBitmapsLeavesNoHalfWrittenBitmap) {
    const int kRuns = std::getenv("NOXD_SOAK") ? 100 : 10;
    Fault("flood");
    std::mt19937 random(5);
    int bitmaps = 0;
    for (int run = 0; run < kRuns; ++run) {
        const ScratchFolder folder;
        AmbrelProcess ambrel(ProgramFolder() / "ambrel.exe", {"-i10.0.0.1", "-ladmin:pw", "-f1", "-bmp", "-t1"},
                             folder.path());
        ASSERT_TRUE(ambrel.WaitForOutput(DecodedLine(std::uniform_int_distribution<int>(1, 6)(random))));
        Sleep(std::uniform_int_distribution<DWORD>(0, 20)(random));
        ambrel.Kill();
        for (const fs::path& bitmap : BitmapsInOrder(folder.path())) {
            EXPECT_EQ(fs::file_size(bitmap), 1228854u) << bitmap.filename().string();
            ++bitmaps;
        }
    }
    EXPECT_GE(bitmaps, kRuns);
}

}  // namespace
