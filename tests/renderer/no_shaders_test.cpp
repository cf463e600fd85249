// GL setup failing marks the process: no later creation succeeds.
#include <gtest/gtest.h>

#include "support/renderer_fixture.h"

using namespace noxd_test;

TEST(NoShadersTest, GlSetupFailureIsStickyForTheProcess) {
    // A window that is gone by the time the renderer binds GL to it: its
    // device context cannot be had, so no context is current.
    HWND gone = CreateHostWindow(100, 100, 64, 64);
    ASSERT_TRUE(gone);
    DestroyWindow(gone);

    NOXD_RENDERER renderer = reinterpret_cast<NOXD_RENDERER>(1);
    EXPECT_EQ(noxd_create_renderer(gone, L"x", 0, 0, 12, 64, 48, &renderer), NOXD_E_NO_SHADERS);
    EXPECT_EQ(renderer, nullptr);

    // A perfectly good request now fails at once, without a window.
    renderer = reinterpret_cast<NOXD_RENDERER>(1);
    EXPECT_EQ(noxd_create_renderer(nullptr, L"fine", 64, 48, 12, 64, 48, &renderer),
              NOXD_E_NO_SHADERS);
    EXPECT_EQ(renderer, nullptr);
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
}
