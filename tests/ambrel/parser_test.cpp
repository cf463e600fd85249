// The command-line parser: switch forms, defaults and their messages.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings.h"

namespace {

struct Parsed {
    int result;
    Settings settings;
    std::string messages;
};

Parsed Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "ambrel");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    Parsed parsed;
    std::ostringstream out;
    parsed.result = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &parsed.settings, out);
    parsed.messages = out.str();
    return parsed;
}

TEST(AmbrelParser, NoArgumentsAsksForTheAddressOnly) {
    const Parsed p = Parse({});
    EXPECT_EQ(p.result, -1);
    EXPECT_EQ(p.messages, "err: ip_address was not entered\n");
}

TEST(AmbrelParser, FullCommandLineFillsEveryFieldWithoutWarnings) {
    const Parsed p = Parse({"-i192.168.0.10:8000", "-ladmin:secret", "-ein.264", "-dout.rgb", "-f2", "-t5", "-bmp"});
    ASSERT_EQ(p.result, 0);
    EXPECT_STREQ(p.settings.szAddr, "192.168.0.10:8000");
    EXPECT_STREQ(p.settings.szLogin, "admin");
    EXPECT_STREQ(p.settings.szPass, "secret");
    EXPECT_STREQ(p.settings.szEncFile, "in.264");
    EXPECT_STREQ(p.settings.szDecFile, "out.rgb");
    EXPECT_EQ(p.settings.format, 2);
    EXPECT_EQ(p.settings.period, 5);
    EXPECT_EQ(p.settings.bmp, 1);
    EXPECT_EQ(p.messages, "input (enc) file in.264\noutput (dec) file out.rgb\n");
}

TEST(AmbrelParser, DefaultsComeWithTheirMessagesInOrder) {
    const Parsed p = Parse({"-i10.0.0.1"});
    ASSERT_EQ(p.result, 0);
    EXPECT_EQ(p.messages,
              "warn: login is empty\n"
              "warn: pass is empty\n"
              "warn: enc file name is empty. changed to dump.264\n"
              "input (enc) file dump.264\n"
              "warn: dec file name is empty\n"
              "output (dec) file dump.yuy\n"
              "warn: pini->period==0, changed to 30\n");
    EXPECT_STREQ(p.settings.szEncFile, "dump.264");
    EXPECT_STREQ(p.settings.szDecFile, "dump.yuy");
    EXPECT_EQ(p.settings.period, 30);
    EXPECT_EQ(p.settings.format, 0);
    EXPECT_EQ(p.settings.bmp, 0);
}

TEST(AmbrelParser, LoginIsSplitAtTheFirstColon) {
    Parsed p = Parse({"-i1", "-ladmin"});
    EXPECT_STREQ(p.settings.szLogin, "admin");
    EXPECT_STREQ(p.settings.szPass, "");
    EXPECT_NE(p.messages.find("warn: pass is empty\n"), std::string::npos);
    EXPECT_EQ(p.messages.find("warn: login is empty"), std::string::npos);

    p = Parse({"-i1", "-la:b:c"});
    EXPECT_STREQ(p.settings.szLogin, "a");
    EXPECT_STREQ(p.settings.szPass, "b:c");

    p = Parse({"-i1", "-l:pw"});
    EXPECT_STREQ(p.settings.szLogin, "");
    EXPECT_STREQ(p.settings.szPass, "pw");
    EXPECT_EQ(p.messages.rfind("warn: login is empty\n", 0), 0u);
}

TEST(AmbrelParser, RepeatedSwitchTakesTheLaterValue) {
    Parsed p = Parse({"-i1", "-i2", "-lu:p", "-lv", "-t3", "-t4"});
    EXPECT_STREQ(p.settings.szAddr, "2");
    EXPECT_STREQ(p.settings.szLogin, "v");
    EXPECT_STREQ(p.settings.szPass, "p");  // a later -l without colon leaves the password
    EXPECT_EQ(p.settings.period, 4);
}

TEST(AmbrelParser, NumbersReadLikeDecimalText) {
    for (const char* bad : {"-t0", "-t-5", "-tabc"}) {
        const Parsed p = Parse({"-i1", bad});
        EXPECT_EQ(p.settings.period, 30) << bad;
        EXPECT_NE(p.messages.find("warn: pini->period==0, changed to 30\n"), std::string::npos) << bad;
    }
    Parsed p = Parse({"-i1", "-t1", "-f 12x"});
    EXPECT_EQ(p.settings.period, 1);
    EXPECT_EQ(p.settings.format, 12);
    EXPECT_EQ(p.messages.find("period"), std::string::npos);
    EXPECT_EQ(Parse({"-i1", "-f-3"}).settings.format, -3);
    EXPECT_EQ(Parse({"-i1", "-f+2"}).settings.format, 2);
    EXPECT_EQ(Parse({"-i1", "-t99999999999"}).settings.period, INT32_MAX);
}

TEST(AmbrelParser, DecodedFileDefaultFollowsTheFormat) {
    EXPECT_STREQ(Parse({"-i1", "-d"}).settings.szDecFile, "dump.yuy");
    for (const char* format : {"-f1", "-f2", "-f7"}) {
        const Parsed p = Parse({"-i1", "-d", format});
        EXPECT_STREQ(p.settings.szDecFile, "dump.rgb") << format;
        EXPECT_NE(p.messages.find("warn: dec file name is empty\noutput (dec) file dump.rgb\n"),
                  std::string::npos);
    }
}

TEST(AmbrelParser, OnlyExactDashBmpSelectsBitmaps) {
    EXPECT_EQ(Parse({"-i1", "-bmp"}).settings.bmp, 1);
    EXPECT_EQ(Parse({"-i1", "-bmpx"}).settings.bmp, 0);
    EXPECT_EQ(Parse({"-i1", "-BMP"}).settings.bmp, 0);
}

TEST(AmbrelParser, OtherArgumentsAreIgnored) {
    Parsed p = Parse({"-i", "10.0.0.1"});
    EXPECT_EQ(p.result, -1);
    EXPECT_EQ(p.messages, "err: ip_address was not entered\n");

    p = Parse({"x-i5", "-I6", "-z7", "-", "-i10.0.0.1:8000"});
    ASSERT_EQ(p.result, 0);
    EXPECT_STREQ(p.settings.szAddr, "10.0.0.1:8000");
}

TEST(AmbrelParser, ValueLongerThanItsFieldIsRefusedNotCut) {
    const std::string fits(99, 'a');
    const std::string tooLong(100, 'a');
    EXPECT_EQ(Parse({"-i" + fits}).result, 0);

    Parsed p = Parse({"-i" + tooLong, "-ladmin"});
    EXPECT_EQ(p.result, -1);
    EXPECT_EQ(p.messages, "err: value of -i is longer than 99 characters\n");
    EXPECT_STREQ(p.settings.szAddr, "");

    p = Parse({"-i1", "-ladmin:" + tooLong});
    EXPECT_EQ(p.result, -1);
    EXPECT_EQ(p.messages, "err: value of -l is longer than 99 characters\n");
    EXPECT_STREQ(p.settings.szPass, "");

    EXPECT_EQ(Parse({"-i1", "-l" + tooLong + ":pw"}).messages,
              "err: value of -l is longer than 99 characters\n");
    EXPECT_EQ(Parse({"-i1", "-e" + tooLong}).result, -1);
    EXPECT_EQ(Parse({"-i1", "-d" + tooLong}).result, -1);
}

}  // namespace
