// The renderer's window: its own window's class, styles, size and title; a
// host window taken over and given back; creation failures and null handles.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "support/frames.h"
#include "support/process_probe.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

std::wstring TitleOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

SIZE ClientSize(HWND window) {
    RECT rc = {};
    GetClientRect(window, &rc);
    return {rc.right, rc.bottom};
}

TEST(OwnWindowTest, ClassStylesGeometryAndTitle) {
    ScopedRenderer r(12, 320, 240, 640, 480, L"Camera 1");
    ASSERT_EQ(r.status(), S_OK);
    HWND w = r.window();
    ASSERT_TRUE(IsWindow(w));

    wchar_t class_name[64] = {};
    GetClassNameW(w, class_name, 64);
    EXPECT_STREQ(class_name, L"CGLRenderer");
    EXPECT_EQ(GetClassLongW(w, GCL_STYLE), 0x102Bu);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(w, GCLP_HCURSOR)),
              LoadCursorW(nullptr, IDC_ARROW));
    LOGBRUSH brush = {};
    GetObjectW(reinterpret_cast<HGDIOBJ>(GetClassLongPtrW(w, GCLP_HBRBACKGROUND)), sizeof brush, &brush);
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, RGB(0, 0, 0));

    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(style & ~WS_VISIBLE, static_cast<LONG>(0x86CF0000));
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & 0x40100, 0x40100);
    EXPECT_EQ(GetParent(w), nullptr);

    RECT outer = {};
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    const SIZE client = ClientSize(w);
    EXPECT_EQ(client.cx, 640);
    EXPECT_EQ(client.cy, 480);
    EXPECT_EQ(TitleOf(w), L"Camera 1");
    // Drawn from its own thread, not the host's.
    EXPECT_NE(GetWindowThreadProcessId(w, nullptr), GetCurrentThreadId());
}

TEST(OwnWindowTest, ZeroSizeTakesTheFrameSize) {
    ScopedRenderer r(8, 176, 144, 0, 0);
    ASSERT_EQ(r.status(), S_OK);
    const SIZE client = ClientSize(r.window());
    EXPECT_EQ(client.cx, 176);
    EXPECT_EQ(client.cy, 144);
}

TEST(OwnWindowTest, TitleIsEmptyForNullOrEmptyAndCutAt259Units) {
    {
        ScopedRenderer r(8, 64, 64, 0, 0, nullptr);
        ASSERT_EQ(r.status(), S_OK);
        EXPECT_EQ(TitleOf(r.window()), L"");
    }
    {
        ScopedRenderer r(8, 64, 64, 0, 0, L"");
        ASSERT_EQ(r.status(), S_OK);
        EXPECT_EQ(TitleOf(r.window()), L"");
    }
    std::wstring long_title;
    for (int i = 0; i < 300; ++i) long_title += static_cast<wchar_t>(L'A' + i % 26);
    ScopedRenderer r(8, 64, 64, 0, 0, long_title.c_str());
    ASSERT_EQ(r.status(), S_OK);
    EXPECT_EQ(TitleOf(r.window()), long_title.substr(0, 259));
}

TEST(OwnWindowTest, TwoRenderersGetTwoWindows) {
    ScopedRenderer a(12, 64, 64, 100, 100, L"first");
    // The second registration of the class fails and is ignored.
    ScopedRenderer b(12, 64, 64, 120, 90, L"second");
    ASSERT_EQ(a.status(), S_OK);
    ASSERT_EQ(b.status(), S_OK);
    EXPECT_NE(a.window(), b.window());
    EXPECT_EQ(ClientSize(b.window()).cx, 120);
    EXPECT_EQ(TitleOf(b.window()), L"second");
}

TEST(OwnWindowTest, ReleaseClosesWindowThreadAndEveryHandle) {
    // The first renderer loads GL and its drivers for the process; count from there.
    { ScopedRenderer warm_up(12, 64, 64, 100, 100); }
    const int handles_before = CountOwnHandles();
    const int threads_before = CountOwnThreads();
    ASSERT_GT(handles_before, 0);
    HWND window = nullptr;
    {
        ScopedRenderer r(12, 64, 64, 100, 100);
        ASSERT_EQ(r.status(), S_OK);
        window = r.window();
        EXPECT_EQ(CountOwnThreads(), threads_before + 1);
        EXPECT_GT(CountOwnHandles(), handles_before);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CountOwnThreads(), threads_before);
    EXPECT_EQ(CountOwnHandles(), handles_before);
    for (int i = 0; i < 5; ++i) ScopedRenderer again(12, 64, 64, 100, 100);
    EXPECT_EQ(CountOwnHandles(), handles_before);
}

TEST(OwnWindowTest, QuitMessageEndsTheRenderThreadAndItsWindow) {
    ScopedRenderer r(12, 64, 64, 100, 100);
    ASSERT_EQ(r.status(), S_OK);
    HWND window = r.window();
    const DWORD thread_id = GetWindowThreadProcessId(window, nullptr);
    PostThreadMessageW(thread_id, WM_QUIT, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(10);
    EXPECT_FALSE(IsWindow(window));
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto to_ms = [](FILETIME t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return to_ms(kernel) + to_ms(user);
}

TEST(OwnWindowTest, IdleRendererUsesWellUnderTwoPercentOfACore) {
    ScopedRenderer r(12, 64, 64, 100, 100);
    ASSERT_EQ(r.status(), S_OK);
    Sleep(200);  // let the window settle
    const double before = ProcessCpuMs();
    Sleep(2000);
    EXPECT_LT(ProcessCpuMs() - before, 0.02 * 2000);
}

TEST(OwnWindowTest, IdleRenderThreadUsesNoCpu) {
    // The render thread sleeps until a message or the stop comes; a spinning
    // loop would burn a whole core per view.
    ScopedRenderer r(12, 64, 64, 100, 100);
    ASSERT_EQ(r.status(), S_OK);
    const DWORD thread_id = GetWindowThreadProcessId(r.window(), nullptr);
    const double before = ThreadCpuMs(thread_id);
    ASSERT_GE(before, 0);
    Sleep(600);
    EXPECT_LT(ThreadCpuMs(thread_id) - before, 150.0);
}

class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = CreateHostWindow(700, 100, 320, 240);
        ASSERT_TRUE(host);
        SetWindowLongPtrW(host, GWLP_USERDATA, 0x1234);
    }
    void TearDown() override { DestroyWindow(host); }
    HWND host = nullptr;
};

TEST_F(HostWindowTest, TakenOverWhileLiveAndGivenBackOnRelease) {
    const LONG_PTR own_proc = GetWindowLongPtrW(host, GWLP_WNDPROC);
    NOXD_RENDERER renderer = nullptr;
    ASSERT_EQ(noxd_create_renderer(host, L"ignored", 10, 10, 10, 8, 8, &renderer), S_OK);
    EXPECT_EQ(noxd_get_hwnd(renderer), host);
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
    EXPECT_NE(GetWindowLongPtrW(host, GWLP_WNDPROC), own_proc);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(renderer));
    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_FALSE(IsIconic(host));
    EXPECT_FALSE(IsZoomed(host));

    // Messages the renderer does not keep still reach the host's procedure.
    const int calls = host_proc_calls;
    SendMessageW(host, WM_NULL, 0, 0);
    EXPECT_EQ(host_proc_calls.load(), calls + 1);

    // The host window shows frames too.
    const std::vector<uint8_t> frame =
        BgrFrame(10, 8, 8, [](int, int) { return Bgr{0, 0, 255}; });
    EXPECT_EQ(noxd_draw_frame(renderer, frame.data()), S_OK);
    PumpMessages();
    const Capture shot = Capture::OfClient(host);
    EXPECT_TRUE(Near(shot.At(160, 120), Rgb{255, 0, 0}, 1));

    EXPECT_EQ(noxd_release_renderer(renderer), S_OK);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), own_proc);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_USERDATA), 0x1234);
    EXPECT_TRUE(IsWindow(host));
}

TEST_F(HostWindowTest, MinimisedHostIsShownNormal) {
    ShowWindow(host, SW_SHOWMINIMIZED);
    ScopedRenderer r(host, 8, 64, 64);
    ASSERT_EQ(r.status(), S_OK);
    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_FALSE(IsIconic(host));
}

TEST(CreationFailureTest, UnknownFormatsMakeNoWindowNoThreadNoHandle) {
    // The first call into noxd.dll that initialises a function-local static
    // on a thread has the thread runtime linked into the DLL (winpthreads)
    // give that thread its record: an event and a duplicate of the thread's
    // handle, kept until the thread ends. The 64-bit build's failed creation
    // is such a first call. Counted after one failure, what remains is what
    // each creation leaves behind.
    NOXD_RENDERER first = nullptr;
    ASSERT_EQ(noxd_create_renderer(nullptr, L"x", 64, 64, 7, 64, 64, &first),
              static_cast<HRESULT>(0x80040201));
    const int threads_before = CountOwnThreads();
    const int handles_before = CountOwnHandles();
    for (int format : {7, 13, 0, -1}) {
        NOXD_RENDERER renderer = reinterpret_cast<NOXD_RENDERER>(1);
        EXPECT_EQ(noxd_create_renderer(nullptr, L"x", 64, 64, format, 64, 64, &renderer),
                  static_cast<HRESULT>(0x80040201));
        EXPECT_EQ(renderer, nullptr);
    }
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
    EXPECT_EQ(CountOwnThreads(), threads_before);
    EXPECT_EQ(CountOwnHandles(), handles_before);
}

TEST(NullHandleTest, CoreCallsRejectOrIgnoreANullRenderer) {
    const uint8_t frame[16] = {};
    EXPECT_EQ(noxd_release_renderer(nullptr), static_cast<HRESULT>(0x80070057));
    EXPECT_EQ(noxd_draw_frame(nullptr, frame), static_cast<HRESULT>(0x80070057));
    EXPECT_EQ(noxd_get_hwnd(nullptr), nullptr);
    EXPECT_EQ(noxd_set_video_pos(nullptr, 0.f, 1.f, 1.f, 0.f), S_OK);
}

TEST(NullHandleTest, NoOutPointerCreatesNothing) {
    const int threads_before = CountOwnThreads();
    EXPECT_EQ(noxd_create_renderer(nullptr, L"x", 64, 64, 12, 64, 64, nullptr),
              static_cast<HRESULT>(0x80070057));
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
    EXPECT_EQ(CountOwnThreads(), threads_before);
}

TEST(NullHandleTest, NullFrameIsRejectedWithoutDrawing) {
    ScopedRenderer r(8, 64, 64, 64, 64);
    ASSERT_EQ(r.status(), S_OK);
    EXPECT_EQ(noxd_draw_frame(r.get(), nullptr), static_cast<HRESULT>(0x80070057));
}

TEST(ReleaseThreadTest, ReleaseOffTheGlThreadShowsTheMessageBoxAndStillFrees) {
    NOXD_RENDERER renderer = nullptr;
    HRESULT created = E_FAIL;
    std::thread gl_thread([&] {
        created = noxd_create_renderer(nullptr, L"x", 64, 64, 12, 64, 64, &renderer);
    });
    gl_thread.join();
    ASSERT_EQ(created, S_OK);
    HWND window = noxd_get_hwnd(renderer);

    std::wstring text;
    std::thread closer([&] {
        if (HWND box = WaitForWindow(L"Exeption", 10000)) {
            text = MessageBoxText(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    EXPECT_EQ(noxd_release_renderer(renderer), S_OK);
    closer.join();
    EXPECT_EQ(text,
              L"CGLRenderer destructor should be called only from the same thread where it was created");
    for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(10);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
