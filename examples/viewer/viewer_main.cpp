// noxd_viewer: a camera shown live through noxd, as a surveillance client
// would show it. The nox component (nox.dll beside the program) connects and
// decodes on threads of its own; the newest decoded picture is handed to the
// main thread, which created the renderer and so is the only one that draws.
//   noxd_viewer ADDRESS [LOGIN [PASSWORD]] [options]   (--help lists them)
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "camera_session.h"
#include "common/screen_capture.h"
#include "frame_mailbox.h"
#include "input_script.h"
#include "noxd.h"
#include "renderer_planes.h"
#include "view_controls.h"
#include "view_math.h"
#include "view_overlays.h"
#include "view_window.h"
#include "viewer_options.h"
#include "win32_owners.h"
#include "win_text.h"

namespace viewer {

namespace {

// A camera that sends nothing for this long has failed the run.
constexpr DWORD kFrameTimeoutMs = 5000;
// The loop wakes at least this often for the clock and the script.
constexpr DWORD kTickMs = 20;
// While no picture comes the view is redrawn this often, so overlays changed
// meanwhile show, and after kStaleMs without a picture it says "NO VIDEO".
constexpr uint64_t kRedrawMs = 200;
constexpr int kStaleMs = 1000;

// A renderer released on every way out, on the thread that made it.
class Renderer {
public:
    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer() {
        if (renderer_) noxd_release_renderer(renderer_);
    }
    // The view takes the first picture's size; later pictures may change
    // format and size, and are fitted into it.
    HRESULT Create(HWND host, const Options& o, const Picture& first) {
        const std::wstring title = L"noxd viewer - " + Widen(o.camera_name);
        const PlaneLayout& layout = first.layout;
        return noxd_create_renderer(host, title.c_str(), 0, 0, layout.format, static_cast<int>(layout.width),
                                    static_cast<int>(layout.height), &renderer_);
    }
    NOXD_RENDERER get() const { return renderer_; }
    HWND window() const { return noxd_get_hwnd(renderer_); }

private:
    NOXD_RENDERER renderer_ = nullptr;
};

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The folder of the screenshot path, with its separator; empty for the current one.
std::string FolderOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The view as shown, overlays included, from the renderer itself, saved
// beside the screenshots.
bool SaveSnapshot(NOXD_RENDERER renderer, const std::string& folder, int number, uint32_t sequence) {
    const std::string path = folder + "snapshot-" + std::to_string(number) + ".png";
    const HRESULT saved = noxd_snapshot(renderer, Widen(path).c_str(), 1);
    if (saved == S_OK) std::printf("snapshot %s: frame %u\n", path.c_str(), sequence);
    else std::printf("cannot take the snapshot %s: 0x%08lX\n", path.c_str(), static_cast<unsigned long>(saved));
    std::fflush(stdout);
    return saved == S_OK;
}

// The statistics line, while F1 has it on.
void ShowStatistics(NOXD_RENDERER renderer, const ViewControls& controls, StaticOverlays& overlays,
                    const SYSTEMTIME& clock) {
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    const bool shown = controls.stats_shown() && noxd_get_stats(renderer, &stats) == S_OK;
    overlays.UpdateStats(shown ? &stats : nullptr, clock);
}

// Says on the console when the view draws on the GL 1.1 path.
void SayPath(NOXD_RENDERER renderer) {
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    if (noxd_get_stats(renderer, &stats) == S_OK && stats.path == NOXD_PATH_CPU)
        std::printf("no shaders in this OpenGL: pictures converted on the CPU, drawn with GL 1.1\n");
}

// Whether the view says "NO VIDEO" now: no picture for the stale time.
bool ShowsNoVideo(NOXD_RENDERER renderer) {
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    return noxd_get_stats(renderer, &stats) == S_OK && stats.ms_since_last_frame != 0xFFFFFFFFu &&
           stats.ms_since_last_frame >= static_cast<UINT>(kStaleMs);
}

bool SaveScreenshot(HWND window, const std::string& path, uint32_t sequence) {
    const bool saved = noxd_examples::SavePng(noxd_examples::CaptureClientArea(window), path.c_str());
    if (saved) std::printf("screenshot %s: frame %u\n", path.c_str(), sequence);
    else std::printf("cannot write the screenshot %s\n", path.c_str());
    return saved;
}

// Draws each picture as it lies in the viewer's buffer, and says on the
// console when the camera's pictures change format or size.
class PictureDrawer {
public:
    // False once a picture could not be drawn; that is said once.
    bool Draw(NOXD_RENDERER renderer, const Picture& picture) {
        const PlaneLayout& layout = picture.layout;
        if (layout.format != shown_.format || layout.width != shown_.width || layout.height != shown_.height) {
            std::printf("picture %u x %u %s: frame %u\n", layout.width, layout.height,
                        FormatName(layout.format).c_str(), picture.sequence);
            std::fflush(stdout);
            shown_ = layout;
        }
        const NOXD_PLANES planes = PlanesOf(picture);
        const HRESULT drawn = noxd_draw_planes(renderer, &planes);
        if (drawn != S_OK && !failed_)
            std::printf("cannot draw frame %u: 0x%08lX\n", picture.sequence, static_cast<unsigned long>(drawn));
        failed_ = failed_ || drawn != S_OK;
        return !failed_;
    }

private:
    PlaneLayout shown_;
    bool failed_ = false;
};

// Plays the script's input into the view's window as the user's mouse and
// keyboard would send it, each step when its time has come.
class ScriptPlayer {
public:
    explicit ScriptPlayer(std::vector<InputEvent> events) : cursor_(std::move(events)) {}

    // Sends the steps due at `elapsed_ms`; screenshots due are added to `shots`.
    void Play(HWND window, uint64_t elapsed_ms, const ViewState& view, std::vector<std::string>& shots) {
        while (const InputEvent* step = cursor_.Next(elapsed_ms, view)) {
            const InputEvent& e = *step;
            const LPARAM point = MAKELPARAM(e.x, e.y);
            switch (e.kind) {
            case InputKind::kPress: button_down_ = true; Send(window, WM_LBUTTONDOWN, MK_LBUTTON, point); break;
            case InputKind::kMove: Send(window, WM_MOUSEMOVE, button_down_ ? MK_LBUTTON : 0, point); break;
            case InputKind::kRelease: button_down_ = false; Send(window, WM_LBUTTONUP, 0, point); break;
            case InputKind::kDoubleClick: Send(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point); break;
            case InputKind::kKey: Send(window, WM_KEYDOWN, static_cast<WPARAM>(e.key), 1); break;
            case InputKind::kScreenshot: shots.push_back(e.path); break;
            case InputKind::kWaitNoVideo:
            case InputKind::kWaitFrame: break;
            }
        }
    }
    bool done() const { return cursor_.done(); }

private:
    // Handled by the window's thread before this returns, like real input.
    static void Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        SendMessageW(window, message, wparam, lparam);
    }

    ScriptCursor cursor_;
    bool button_down_ = false;
};

bool ReadScript(const std::string& path, std::vector<InputEvent>& events) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    if (!file) {
        std::printf("cannot read the script %s\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    ParsedScript script = ParseScript(text.str());
    if (!script.error.empty()) {
        std::printf("script %s: %s\n", path.c_str(), script.error.c_str());
        return false;
    }
    events = std::move(script.events);
    return true;
}

// Waits for the first picture, which gives the view its size.
const Picture* WaitForFirstPicture(FrameMailbox& mailbox, HANDLE frame_ready) {
    for (;;) {
        if (const Picture* picture = mailbox.TakeNewest()) return picture;
        if (WaitForSingleObject(frame_ready, kFrameTimeoutMs) == WAIT_TIMEOUT) return nullptr;
    }
}

struct RunCounts {
    uint64_t shown = 0;
    uint64_t first_ms = 0;
    uint64_t last_ms = 0;
};

void PrintSummary(const FrameMailbox& mailbox, const CameraSession& camera, const RunCounts& counts) {
    std::printf("frames received: %llu\n", static_cast<unsigned long long>(mailbox.published()));
    std::printf("frames shown: %llu\n", static_cast<unsigned long long>(counts.shown));
    std::printf("frames dropped: %llu\n", static_cast<unsigned long long>(mailbox.dropped()));
    if (camera.rejected())
        std::printf("frames rejected: %llu\n", static_cast<unsigned long long>(camera.rejected()));
    std::printf("average frame rate: %.2f fps\n", AverageFrameRate(counts.shown, counts.first_ms, counts.last_ms));
}

// Everything from the first picture to the end of the run; the exit status.
int ShowCamera(const Options& o, const std::vector<InputEvent>& script, FrameMailbox& mailbox,
               HANDLE frame_ready, CameraSession& camera) {
    const Picture* picture = WaitForFirstPicture(mailbox, frame_ready);
    if (!picture) {
        std::printf("no picture from the camera within %lu s\n", kFrameTimeoutMs / 1000);
        return 1;
    }
    // Declared in this order so that the renderer goes first: its window may
    // call the route and the controls until it is released.
    ViewControls controls(o.verbose, o.shape);
    WindowRoute route;
    noxd::UniqueWindow host;
    if (o.host_window) {
        host = CreateHostWindow((L"noxd viewer - " + Widen(o.camera_name)).c_str(),
                                static_cast<int>(picture->layout.width), static_cast<int>(picture->layout.height));
        if (!host) {
            std::printf("cannot create the host window\n");
            return 1;
        }
    }
    Renderer renderer;
    if (o.fallback) noxd_set_fallback(NOXD_FALLBACK_CPU);
    const HRESULT created = renderer.Create(host.get(), o, *picture);
    if (created != S_OK) {
        std::printf("cannot create the renderer: 0x%08lX\n", static_cast<unsigned long>(created));
        return 1;
    }
    SayPath(renderer.get());
    const HWND window = renderer.window();
    // Connected before keys can reach the controls, so that only the window's
    // thread touches them from here on.
    controls.Connect(renderer.get());
    controls.ShowStats(o.stats);
    if (o.bt709) noxd_set_color_space(renderer.get(), NOXD_COLOR_BT709, NOXD_RANGE_LIMITED);
    noxd_set_stale_timeout(renderer.get(), kStaleMs, L"NO VIDEO");
    route.Attach(window, controls, !o.host_window);
    StaticOverlays overlays(renderer.get(), o.camera_name);
    const std::wstring logo = o.logo.empty() ? ProgramFolder() + L"logo.bmp" : Widen(o.logo);
    bool ok = overlays.AddLogoAndDot(logo);

    ScriptPlayer player(script);
    PictureDrawer drawing;
    std::vector<std::string> shots;
    RunCounts counts;
    uint32_t last_sequence = 0;
    uint64_t last_picture_ms = GetTickCount64();
    uint64_t last_drawn_ms = last_picture_ms;
    int snapshots = 0;
    for (;;) {
        const uint64_t now = GetTickCount64();
        SYSTEMTIME clock;
        GetLocalTime(&clock);
        ShowStatistics(renderer.get(), controls, overlays, clock);
        if (picture) {
            overlays.UpdateCaption(clock);
            controls.SetSampleAspect(picture->sample_aspect);
            ok = drawing.Draw(renderer.get(), *picture) && ok;
            last_drawn_ms = now;
            if (counts.shown++ == 0) counts.first_ms = now;
            counts.last_ms = last_picture_ms = now;
            last_sequence = picture->sequence;
            for (const std::string& shot : shots) ok = SaveScreenshot(window, shot, last_sequence) && ok;
            shots.clear();
        } else if (counts.shown > 0 && now - last_drawn_ms >= kRedrawMs) {
            noxd_redraw(renderer.get());
            last_drawn_ms = now;
        }
        // The script's keys are handled before Play returns, so a snapshot its
        // last step asks for is taken before the run may end.
        if (counts.shown > 0)
            player.Play(window, now - counts.first_ms, {ShowsNoVideo(renderer.get()), last_sequence}, shots);
        if (controls.TakeSnapshotRequest()) ok = SaveSnapshot(renderer.get(), FolderOf(o.screenshot), ++snapshots, last_sequence) && ok;
        const bool enough = o.frames > 0 && counts.shown >= static_cast<uint64_t>(o.frames) && player.done() &&
                            shots.empty();
        if (enough || controls.quit_requested()) break;
        if (now - last_picture_ms > kFrameTimeoutMs) {
            std::printf("no picture from the camera for %lu s\n", kFrameTimeoutMs / 1000);
            ok = false;
            break;
        }
        MsgWaitForMultipleObjects(1, &frame_ready, FALSE, kTickMs, QS_ALLINPUT);
        PumpMessages();
        picture = mailbox.TakeNewest();
    }
    // The window still shows the last frame drawn.
    if (!o.screenshot.empty()) ok = SaveScreenshot(window, o.screenshot, last_sequence) && ok;
    controls.Disconnect();
    camera.Stop();
    PrintSummary(mailbox, camera, counts);
    return ok ? 0 : 1;
}

int Run(const Options& o) {
    std::vector<InputEvent> script;
    if (!o.script.empty() && !ReadScript(o.script, script)) return 2;
    const noxd::ComApartment com(COINIT_MULTITHREADED);
    if (FAILED(com.result())) {
        std::printf("cannot start COM: 0x%08lX\n", static_cast<unsigned long>(com.result()));
        return 1;
    }
    FrameMailbox mailbox;
    const noxd::UniqueKernelHandle frame_ready(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    CameraSession camera;
    const std::string error = camera.Start(o, mailbox, frame_ready.get());
    if (!error.empty()) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    std::printf("connected to %s, decoding to %s\n", o.address.c_str(),
                o.format == PictureFormat::kYuy2 ? "YUY2" : "RGB32");
    std::fflush(stdout);
    return ShowCamera(o, script, mailbox, frame_ready.get(), camera);
}

}  // namespace

}  // namespace viewer

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(viewer::Narrow(argv[i]));
    const viewer::ParsedCommandLine parsed = viewer::ParseCommandLine(args);
    if (parsed.help || !parsed.error.empty()) {
        if (!parsed.error.empty()) std::printf("noxd_viewer: %s\n", parsed.error.c_str());
        std::printf("%s", viewer::UsageText().c_str());
        return parsed.help ? 0 : 2;
    }
    const int status = viewer::Run(parsed.options);
    std::fflush(stdout);
    return status;
}
