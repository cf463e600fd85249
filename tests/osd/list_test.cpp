// The overlay list through the exports: replacing through a handle variable,
// failed adds, delete and clear results, painting order, stale handles and
// the dash pattern captured at construction.
#include <gtest/gtest.h>

#include <set>

#include "osd_view.h"

using namespace noxd_osd_test;

namespace {

// A filled rectangle over the middle of the view.
HRESULT AddMiddleRect(NOXD_RENDERER r, UINT_PTR* variable, uint32_t color) {
    return noxd_add_osd_rectangle(r, variable, 0.3f, 0.7f, 0.7f, 0.3f, 1, color, 0, 1);
}

TEST(OsdListTest, AddingThroughTheSameVariableReplacesTheObject) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddMiddleRect(v.get(), &slot, kOsdRed), S_OK);
    const UINT_PTR first = slot;
    EXPECT_NE(first, 0u);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &slot, 0.0f, 1.0f, 0.2f, 0.8f, 1, kOsdBlue, 0, 1), S_OK);
    EXPECT_NE(slot, first);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 200, 150, kGrey));  // the red one is gone
    EXPECT_TRUE(Shows(shot, 40, 30, kBlue));
    // One object left: the first clear empties the list, the second finds nothing.
    EXPECT_EQ(noxd_clear_osd(v.get()), S_OK);
    EXPECT_EQ(noxd_clear_osd(v.get()), E_INVALIDARG);
}

TEST(OsdListTest, FailedAddRemovesTheObjectTheVariableNamed) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddMiddleRect(v.get(), &slot, kOsdRed), S_OK);
    const uint32_t pixel = 0xFFFFFFFF;
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, 0, 1, 0, 1, 1, 0, 0, 0, 0),
              E_INVALIDARG);
    EXPECT_EQ(slot, 0u);
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kGrey));
    EXPECT_EQ(noxd_clear_osd(v.get()), E_INVALIDARG);
}

TEST(OsdListTest, DeleteResults) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    EXPECT_EQ(noxd_delete_osd(v.get(), &slot), E_INVALIDARG);
    ASSERT_EQ(AddMiddleRect(v.get(), &slot, kOsdRed), S_OK);
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kRed));
    UINT_PTR copy = slot;
    EXPECT_EQ(noxd_delete_osd(v.get(), &slot), S_OK);
    EXPECT_EQ(slot, 0u);
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kGrey));
    const UINT_PTR stale = copy;
    EXPECT_EQ(noxd_delete_osd(v.get(), &copy), E_INVALIDARG);
    EXPECT_EQ(copy, stale);
}

TEST(OsdListTest, HandleKeptAfterClearNeverNamesALaterObject) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR old_slot = 0;
    ASSERT_EQ(AddMiddleRect(v.get(), &old_slot, kOsdRed), S_OK);
    const UINT_PTR old_handle = old_slot;
    ASSERT_EQ(noxd_clear_osd(v.get()), S_OK);
    EXPECT_EQ(old_slot, old_handle);  // clear leaves the host's variables alone

    // The new object may well take the freed object's memory; its handle
    // must still differ, so the stale variable cannot remove it.
    UINT_PTR new_slot = 0;
    ASSERT_EQ(AddMiddleRect(v.get(), &new_slot, kOsdBlue), S_OK);
    EXPECT_NE(new_slot, old_handle);
    EXPECT_EQ(noxd_delete_osd(v.get(), &old_slot), E_INVALIDARG);
    EXPECT_EQ(AddMiddleRect(v.get(), &old_slot, kOsdRed), S_OK);  // replaces nothing of new_slot's
    EXPECT_EQ(noxd_delete_osd(v.get(), &old_slot), S_OK);
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kBlue));
}

TEST(OsdListTest, HandlesAreNonZeroAndNeverRepeat) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    std::set<UINT_PTR> seen;
    for (int i = 0; i < 300; ++i) {
        UINT_PTR slot = 0;
        ASSERT_EQ(noxd_add_osd_point(v.get(), &slot, 0.5f, 0.5f, 1, kOsdRed), S_OK);
        EXPECT_NE(slot, 0u);
        EXPECT_TRUE(seen.insert(slot).second) << "handle " << slot << " handed out twice";
        ASSERT_EQ(noxd_delete_osd(v.get(), &slot), S_OK);
    }
}

TEST(OsdListTest, NullHandleVariableIsRefusedAndChangesNothing) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    NOXD_RENDERER r = v.get();
    const uint32_t pixel = 0xFFFF0000;
    HBITMAP bitmap = Bitmap32(1, 1, {0xFFFF0000});
    EXPECT_EQ(noxd_add_osd_rectangle(r, nullptr, 0, 1, 1, 0, 1, kOsdRed, 0, 1), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_circle(r, nullptr, 0.5f, 0.5f, 0.3f, 1, kOsdRed, 0, 1), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_circle2(r, nullptr, 0.5f, 0.5f, 9, 9, 0, 1, kOsdRed, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_triangle(r, nullptr, 0, 0, 1, 0, 0.5f, 1, 1, kOsdRed, 0, 1), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_line(r, nullptr, 0, 0, 1, 1, 5, kOsdRed, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_point(r, nullptr, 0.5f, 0.5f, 9, kOsdRed), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(r, nullptr, &pixel, 1, 1, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_handle(r, nullptr, bitmap, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_button(r, nullptr, nullptr, bitmap, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0),
              E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_text(r, nullptr, L"x", 20, L"Arial", 400, 0, 1, 1, 0, 0, 0xFFFFFFFF, 0, 0, 0),
              E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_file(r, nullptr, L"C:\\none.bmp", 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_delete_osd(r, nullptr), E_INVALIDARG);
    EXPECT_EQ(noxd_clear_osd(r), E_INVALIDARG);  // nothing was added
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kGrey));
    DeleteObject(bitmap);
}

TEST(OsdListTest, EveryCallWithANullRendererReturnsZero) {
    UINT_PTR slot = 0;
    const uint32_t pixel = 0;
    EXPECT_EQ(noxd_add_osd_rectangle(nullptr, &slot, 0, 1, 1, 0, 1, kOsdRed, 0, 1), S_OK);
    EXPECT_EQ(noxd_add_osd_circle(nullptr, &slot, 0.5f, 0.5f, 0.3f, 1, kOsdRed, 0, 1), S_OK);
    EXPECT_EQ(noxd_add_osd_circle2(nullptr, &slot, 0.5f, 0.5f, 9, 9, 0, 1, kOsdRed, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_triangle(nullptr, &slot, 0, 0, 1, 0, 0.5f, 1, 1, kOsdRed, 0, 1), S_OK);
    EXPECT_EQ(noxd_add_osd_line(nullptr, &slot, 0, 0, 1, 1, 5, kOsdRed, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_point(nullptr, &slot, 0.5f, 0.5f, 9, kOsdRed), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(nullptr, &slot, &pixel, 1, 1, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_handle(nullptr, &slot, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_bitmap_file(nullptr, &slot, L"x.bmp", 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_add_osd_button(nullptr, &slot, nullptr, nullptr, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0),
              S_OK);
    EXPECT_EQ(noxd_add_osd_text(nullptr, &slot, L"x", 20, L"Arial", 400, 0, 1, 1, 0, 0, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(noxd_delete_osd(nullptr, &slot), S_OK);
    EXPECT_EQ(noxd_clear_osd(nullptr), S_OK);
    EXPECT_EQ(noxd_set_dash_mask(nullptr, 0xFFFF), S_OK);
    EXPECT_EQ(slot, 0u);
}

TEST(OsdListTest, LaterObjectsPaintOverEarlierOnesAndDeletingFromTheMiddleKeepsTheOrder) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // Three overlapping bands across the middle, left to right.
    UINT_PTR red = 0, green = 0, blue = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &red, 0.1f, 0.6f, 0.5f, 0.4f, 1, kOsdRed, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &green, 0.3f, 0.6f, 0.7f, 0.4f, 1, kOsdGreen, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &blue, 0.4f, 0.6f, 0.9f, 0.4f, 1, kOsdBlue, 0, 1), S_OK);
    Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, v.Column(0.2), 150, kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.35), 150, kGreen));  // green over red
    EXPECT_TRUE(Shows(shot, v.Column(0.45), 150, kBlue));   // blue over both
    EXPECT_TRUE(Shows(shot, v.Column(0.8), 150, kBlue));

    ASSERT_EQ(noxd_delete_osd(v.get(), &green), S_OK);
    shot = v.Draw();
    EXPECT_TRUE(Shows(shot, v.Column(0.35), 150, kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.45), 150, kBlue));  // still above red
    EXPECT_TRUE(Shows(shot, v.Column(0.6), 150, kBlue));
}

// Pixels of a dashed horizontal line, 3 pixels thick, that are drawn.
int DrawnPixels(const Capture& shot, int row, int from, int count) {
    int drawn = 0;
    for (int x = from; x < from + count; ++x) drawn += shot.At(x, row).g > 200;
    return drawn;
}

TEST(OsdListTest, ChangedDashPatternAffectsOnlyObjectsAddedAfterIt) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR before = 0, after = 0;
    ASSERT_EQ(noxd_add_osd_line(v.get(), &before, 0.1f, 0.75f, 0.9f, 0.75f, 3, kOsdGreen, 1), S_OK);
    ASSERT_EQ(noxd_set_dash_mask(v.get(), 0x10000 | 0xFFFF), S_OK);  // only the low 16 bits count
    ASSERT_EQ(noxd_add_osd_line(v.get(), &after, 0.1f, 0.25f, 0.9f, 0.25f, 3, kOsdGreen, 1), S_OK);
    const Capture shot = v.Draw();
    // 0xE3F8 draws 20 of every 32 pixels; 0xFFFF draws them all.
    const int old_pattern = DrawnPixels(shot, v.Row(0.75), 50, 256);
    const int new_pattern = DrawnPixels(shot, v.Row(0.25), 50, 256);
    EXPECT_NEAR(old_pattern, 160, 12);
    EXPECT_GE(new_pattern, 254);
}

}  // namespace
