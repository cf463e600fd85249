// Overlay buttons driven by real mouse messages: states and callbacks, with
// or without a mouse callback installed.
#include <gtest/gtest.h>

#include <vector>

#include "osd/osd_button.h"
#include "interaction/cgl_renderer.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

struct Press {
    UINT_PTR button;
    UINT message;
    float x, y;
};
std::vector<Press> presses;
UINT_PTR* delete_on_callback = nullptr;

void CALLBACK RecordButton(NOXD_RENDERER r, UINT_PTR button, UINT message, float x, float y) {
    presses.push_back({button, message, x, y});
    if (delete_on_callback) noxd_delete_osd(r, delete_on_callback);
}


class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        presses.clear();
        delete_on_callback = nullptr;
        ASSERT_EQ(r.status(), S_OK);
        const uint32_t pixels[64] = {};
        image = CreateBitmap(8, 8, 1, 32, pixels);
    }
    void TearDown() override { DeleteObject(image); }

    // A button over normalized (x0, y0) top-left to (x1, y1) bottom-right.
    UINT_PTR Add(UINT_PTR* slot, float x0, float y0, float x1, float y1) {
        EXPECT_EQ(noxd_add_osd_button(r.get(), slot, RecordButton, image, image, image, x0, y0, x1,
                                      y1, 0, 0, 0),
                  S_OK);
        return *slot;
    }
    ButtonState StateOf(UINT_PTR handle) {
        for (CBaseOsdObject* o : r.get()->osd.Objects())
            if (o->handle == handle) return static_cast<COsdButton*>(o)->state;
        ADD_FAILURE() << "no such button";
        return kButtonNormal;
    }

    // 400x300 client, the whole of it video: x pixel = 400 * x, y pixel = 300 * (1 - y).
    ScopedRenderer r{12, 64, 64, 400, 300};
    HBITMAP image = nullptr;
};

TEST_F(ButtonTest, PressAndReleaseCallBackTwiceWithoutAMouseCallback) {
    UINT_PTR slot = 0;
    const UINT_PTR button = Add(&slot, 0.1f, 0.9f, 0.4f, 0.6f);
    SendMouse(r.window(), WM_LBUTTONDOWN, 100, 60);
    EXPECT_EQ(StateOf(button), kButtonPressed);
    SendMouse(r.window(), WM_LBUTTONUP, 100, 60);
    EXPECT_EQ(StateOf(button), kButtonNormal);
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].button, button);
    EXPECT_EQ(presses[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_FLOAT_EQ(presses[0].x, 0.25f);
    EXPECT_FLOAT_EQ(presses[0].y, 0.8f);
    EXPECT_EQ(presses[1].message, static_cast<UINT>(WM_LBUTTONUP));
}

TEST_F(ButtonTest, HoverInsideAndNormalOutsideWithoutCallback) {
    UINT_PTR slot = 0;
    const UINT_PTR button = Add(&slot, 0.1f, 0.9f, 0.4f, 0.6f);
    SendMouse(r.window(), WM_MOUSEMOVE, 100, 60);
    EXPECT_EQ(StateOf(button), kButtonHover);
    EXPECT_EQ(presses.size(), 1u);
    SendMouse(r.window(), WM_MOUSEMOVE, 300, 250);
    EXPECT_EQ(StateOf(button), kButtonNormal);
    EXPECT_EQ(presses.size(), 1u);
    // A pressed button stays pressed while the pointer moves over it.
    SendMouse(r.window(), WM_LBUTTONDOWN, 100, 60);
    SendMouse(r.window(), WM_MOUSEMOVE, 110, 70);
    EXPECT_EQ(StateOf(button), kButtonPressed);
}

TEST_F(ButtonTest, EdgesCountAsInsideAndOverlappingButtonsAreBothCalled) {
    UINT_PTR a = 0, b = 0;
    Add(&a, 0.0f, 1.0f, 0.5f, 0.5f);
    Add(&b, 0.25f, 0.75f, 0.75f, 0.25f);
    SendMouse(r.window(), WM_LBUTTONDOWN, 150, 100);  // inside both
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].button, a);
    EXPECT_EQ(presses[1].button, b);
    presses.clear();
    SendMouse(r.window(), WM_LBUTTONUP, 200, 150);  // (0.5, 0.5): a's corner, inside b
    EXPECT_EQ(presses.size(), 2u);
}

TEST_F(ButtonTest, CallbackMayDeleteItsOwnButton) {
    UINT_PTR slot = 0;
    Add(&slot, 0.1f, 0.9f, 0.4f, 0.6f);
    delete_on_callback = &slot;
    SendMouse(r.window(), WM_LBUTTONDOWN, 100, 60);
    EXPECT_EQ(slot, 0u);
    EXPECT_EQ(r.get()->osd.ButtonCount(), 0);
    SendMouse(r.window(), WM_LBUTTONUP, 100, 60);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(ButtonTest, MinimisingCallsNoButton) {
    UINT_PTR slot = 0;
    Add(&slot, 0.0f, 1.0f, 1.0f, 0.0f);
    SendMessageW(r.window(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(100, 100));
    SendMessageW(r.window(), WM_SIZE, SIZE_MAXHIDE, MAKELPARAM(100, 100));
    EXPECT_TRUE(presses.empty());
}

}  // namespace
