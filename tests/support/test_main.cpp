// The entry point of every test program: gtest's, with standard output
// unbuffered, so that a program stopped for hanging, or one that crashed,
// has printed every line up to the case it was in.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
