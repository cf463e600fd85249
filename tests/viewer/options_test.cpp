#include <gtest/gtest.h>

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
}

TEST(ViewerOptions, EveryOptionAnywhereOnTheLine) {
    const ParsedCommandLine p =
        Parse({"--frames", "120", "cam", "--format", "rgb32", "user", "--host-window", "pw", "--verbose",
               "--screenshot", "a b.png", "--script", "s.txt", "--logo", "l.bmp", "--name", "Gate", "--bt709", "--stats"});
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

TEST(ViewerOptions, HelpNeedsNoAddress) {
    const ParsedCommandLine p = Parse({"--help"});
    EXPECT_TRUE(p.help);
    EXPECT_EQ(p.error, "");
}

}  // namespace
}  // namespace viewer
