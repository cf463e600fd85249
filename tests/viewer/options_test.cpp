#include <gtest/gtest.h>

#include <utility>

#include "viewer_options.h"

namespace viewer {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(ViewerOptions, AddressAloneTakesTheDefaults) {
    const ParsedCommandLine p = Parse({"10.0.0.1:8000"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.address, "10.0.0.1:8000");
    EXPECT_EQ(p.options.login, "admin");
    EXPECT_EQ(p.options.password, "");
    EXPECT_EQ(p.options.camera_name, "10.0.0.1:8000");
    EXPECT_EQ(p.options.format, PictureFormat::kYuy2);
    EXPECT_EQ(p.options.frames, 0);
    EXPECT_FALSE(p.options.host_window);
    EXPECT_FALSE(p.options.verbose);
    EXPECT_FALSE(p.options.bt709);
    EXPECT_FALSE(p.options.stats);
    EXPECT_FALSE(p.options.fallback);
}

TEST(ViewerOptions, EveryOptionAnywhereOnTheLine) {
    const ParsedCommandLine p =
        Parse({"--frames", "120", "cam", "--format", "rgb32", "user", "--host-window", "pw", "--verbose",
               "--screenshot", "a b.png", "--script", "s.txt", "--logo", "l.bmp", "--name", "Gate", "--bt709", "--stats", "--fallback"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.address, "cam");
    EXPECT_EQ(p.options.login, "user");
    EXPECT_EQ(p.options.password, "pw");
    EXPECT_EQ(p.options.frames, 120);
    EXPECT_EQ(p.options.format, PictureFormat::kRgb32);
    EXPECT_TRUE(p.options.host_window);
    EXPECT_TRUE(p.options.verbose);
    EXPECT_EQ(p.options.screenshot, "a b.png");
    EXPECT_EQ(p.options.script, "s.txt");
    EXPECT_EQ(p.options.logo, "l.bmp");
    EXPECT_EQ(p.options.camera_name, "Gate");
    EXPECT_TRUE(p.options.bt709);
    EXPECT_TRUE(p.options.stats);
    EXPECT_TRUE(p.options.fallback);
}

TEST(ViewerOptions, MistakesAreNamed) {
    EXPECT_EQ(Parse({}).error, "no camera address");
    EXPECT_EQ(Parse({"a", "b", "c", "d"}).error, "unexpected argument d");
    EXPECT_EQ(Parse({"a", "--fast"}).error, "unknown option --fast");
    EXPECT_EQ(Parse({"a", "--frames"}).error, "--frames needs a value");
    EXPECT_EQ(Parse({"a", "--frames", "-3"}).error, "--frames takes a count of frames, not -3");
    EXPECT_EQ(Parse({"a", "--frames", "12x"}).error, "--frames takes a count of frames, not 12x");
    EXPECT_EQ(Parse({"a", "--format", "i420"}).error, "--format takes yuy2 or rgb32, not i420");
}

// The picture's shape from the command line: every value each option
// takes, mirror apart or with them, and the stretched, upright default.
TEST(ViewerOptions, PictureShapeOptions) {
    struct Case {
        std::vector<std::string> args;
        AspectMode aspect;
        int degrees;
        bool mirror;
    };
    const Case cases[] = {
        {{"cam"}, AspectMode::kStretch, 0, false},
        {{"cam", "--aspect", "stretch"}, AspectMode::kStretch, 0, false},
        {{"cam", "--aspect", "fit"}, AspectMode::kFit, 0, false},
        {{"cam", "--aspect", "fill"}, AspectMode::kFill, 0, false},
        {{"cam", "--rotate", "0"}, AspectMode::kStretch, 0, false},
        {{"cam", "--rotate", "90"}, AspectMode::kStretch, 90, false},
        {{"cam", "--rotate", "180"}, AspectMode::kStretch, 180, false},
        {{"cam", "--rotate", "270"}, AspectMode::kStretch, 270, false},
        {{"cam", "--mirror"}, AspectMode::kStretch, 0, true},
        {{"--mirror", "--rotate", "270", "cam", "--aspect", "fit"}, AspectMode::kFit, 270, true},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine p = Parse(c.args);
        ASSERT_EQ(p.error, "") << c.args.back();
        EXPECT_EQ(p.options.shape.aspect, c.aspect) << c.args.back();
        EXPECT_EQ(p.options.shape.degrees, c.degrees) << c.args.back();
        EXPECT_EQ(p.options.shape.mirror, c.mirror) << c.args.back();
    }
}

TEST(ViewerOptions, PictureShapeMistakesAreNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a", "--aspect"}, "--aspect needs a value"},
        {{"a", "--aspect", "Fit"}, "--aspect takes stretch, fit or fill, not Fit"},
        {{"a", "--aspect", "zoom"}, "--aspect takes stretch, fit or fill, not zoom"},
        {{"a", "--rotate"}, "--rotate needs a value"},
        {{"a", "--rotate", "45"}, "--rotate takes 0, 90, 180 or 270, not 45"},
        {{"a", "--rotate", "360"}, "--rotate takes 0, 90, 180 or 270, not 360"},
        {{"a", "--rotate", "-90"}, "--rotate takes 0, 90, 180 or 270, not -90"},
        {{"a", "--rotate", "090"}, "--rotate takes 0, 90, 180 or 270, not 090"},
    };
    for (const auto& [args, error] : cases) EXPECT_EQ(Parse(args).error, error);
}

// The keys' steps: stretch, fit, fill and round; a quarter turn at a time.
TEST(ViewerOptions, ShapeKeysCycle) {
    const std::pair<AspectMode, AspectMode> aspects[] = {
        {AspectMode::kStretch, AspectMode::kFit}, {AspectMode::kFit, AspectMode::kFill},
        {AspectMode::kFill, AspectMode::kStretch}};
    for (const auto& [from, to] : aspects) EXPECT_EQ(NextAspectMode(from), to);
    const std::pair<int, int> turns[] = {{0, 90}, {90, 180}, {180, 270}, {270, 0}};
    for (const auto& [from, to] : turns) EXPECT_EQ(QuarterTurnFrom(from), to);
    EXPECT_EQ(AspectLine(AspectMode::kFill), "aspect fill");
    EXPECT_EQ(RotationLine(270), "rotation 270");
    EXPECT_EQ(MirrorLine(true), "mirror on");
    EXPECT_EQ(MirrorLine(false), "mirror off");
    EXPECT_EQ(SampleAspectLine({12, 11}), "sample aspect 12:11");
    EXPECT_EQ(SampleAspectLine({}), "sample aspect square");
}

TEST(ViewerOptions, HelpNeedsNoAddress) {
    const ParsedCommandLine p = Parse({"--help"});
    EXPECT_TRUE(p.help);
    EXPECT_EQ(p.error, "");
}

}  // namespace
}  // namespace viewer
