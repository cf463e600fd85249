// A GL without shader programs (this program runs with Mesa made to offer
// GL 1.5) marks the process: no later creation succeeds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/debug_print.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

TEST(NoShadersTest, MissingShaderProgramsAreStickyForTheProcess) {
    DebugPrintCatcher catcher;
    const std::vector<std::string>& debug_lines = catcher.lines();
    NOXD_RENDERER renderer = reinterpret_cast<NOXD_RENDERER>(1);
    EXPECT_EQ(noxd_create_renderer(nullptr, L"first", 64, 48, 12, 64, 48, &renderer),
              NOXD_E_NO_SHADERS);
    EXPECT_EQ(renderer, nullptr);
    ASSERT_EQ(debug_lines.size(), 1u);
    EXPECT_NE(debug_lines[0].find("noxd_create_renderer: no glCreateProgram in GL \"1.5"),
              std::string::npos)
        << debug_lines[0];

    // A perfectly good request now fails at once, without a window.
    renderer = reinterpret_cast<NOXD_RENDERER>(1);
    EXPECT_EQ(noxd_create_renderer(nullptr, L"fine", 64, 48, 12, 64, 48, &renderer),
              NOXD_E_NO_SHADERS);
    EXPECT_EQ(renderer, nullptr);
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
    ASSERT_EQ(debug_lines.size(), 2u);
    EXPECT_NE(debug_lines[1].find("no glCreateProgram in this process's GL"), std::string::npos);
}
