// The renderer core's part of the object behind every noxd handle. Its
// fields are grouped by the part of the renderer that owns them; the lock
// guards everything that more than one thread touches, except the single
// words marked atomic below and the two groups with locks of their own
// (statistics, window calls). It is held for the whole of creation, of each
// frame and of release. The layers above add their parts by deriving from
// it; the core never calls them.
#pragma once

#include <GL/glew.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "color_space.h"
#include "converted_picture.h"
#include "frame_layout.h"
#include "frame_stats.h"
#include "picture.h"
#include "picture_shape.h"
#include "renderer_lock.h"
#include "shader_program.h"
#include "win32_owners.h"
#include "window_calls.h"

namespace noxd {

struct RendererCore {
    RendererCore() = default;
    // The whole object is deleted through its core, by release or by the
    // last window message that still held it.
    virtual ~RendererCore() = default;
    RendererCore(const RendererCore&) = delete;
    RendererCore& operator=(const RendererCore&) = delete;

    // Lock and status.
    noxd::RendererLock lock;
    HRESULT status = S_OK;

    // The window procedure of the layers above, given at creation.
    WNDPROC window_procedure = nullptr;
    // Set once creation has given the lock back, cleared as release begins:
    // until then the window procedure must not wait for the renderer lock.
    std::atomic<bool> input_live{false};

    // Window and GL binding. The render thread writes window, own_window,
    // host_window_proc, host_user_data and window_error only before it signals ready_event;
    // the creating thread reads them only after its wait succeeded.
    HWND window = nullptr;
    BOOL own_window = FALSE;
    wchar_t window_title[260] = {};
    int32_t window_width = 0;
    int32_t window_height = 0;
    WNDPROC host_window_proc = nullptr;
    LONG_PTR host_user_data = 0;  // what the host kept in the window's user data
    DWORD window_error = 0;       // why the own window could not be created
    DWORD gl_thread_id = 0;       // the creating thread, where the context is current
    noxd::WindowDc device_context;
    noxd::UniqueGlContext gl_context;
    uint8_t color_bits = 24;
    noxd::UniqueKernelHandle ready_event;  // manual-reset: the window is ready
    noxd::UniqueKernelHandle stop_event;   // manual-reset: the render thread must end
    noxd::UniqueKernelHandle render_thread;

    // How pictures are drawn: written once by creation, before the handle
    // is handed out; read on any thread.
    noxd::PicturePath picture_path = noxd::PicturePath::Shaders;

    // Shader program; GL thread only. It converts frames of program_class
    // in program_color_space.
    GLuint program = 0;
    GLuint fragment_shader = 0;
    noxd::LayerProgram layer_program;
    noxd::FormatClass program_class = noxd::FormatClass::Bgr24;
    // The colour space a host asked for (any thread) and the one the program
    // converts in (GL thread); the next picture drawn makes them agree.
    std::atomic<noxd::ColorSpaceIndex> requested_color_space{noxd::kDefaultColorSpace};
    noxd::ColorSpaceIndex program_color_space = noxd::kDefaultColorSpace;

    // Frames. noxd_draw_frame's packed frames always have the creation's
    // format and size; written once at creation.
    noxd::FrameGeometry packed_geometry;
    // The frames shown now, and whether the textures hold them bottom row
    // first; GL thread, lock held.
    noxd::FrameGeometry shown_geometry;
    bool shown_bottom_up = false;
    // The largest texture side the GL takes, read at creation.
    int32_t max_texture_size = 0;
    // A frame was refused since the last one drawn, and reported; only the
    // first refusal in a row writes a debug line. GL thread.
    bool refusal_reported = false;

    // The picture's shape a host asked for: any thread, under the lock; the
    // next picture drawn puts it in force.
    noxd::AspectMode aspect_mode = noxd::AspectMode::Stretch;
    noxd::SampleAspect sample_aspect;
    noxd::Orientation orientation;
    // Where the last picture was drawn in the video area, and how it was
    // turned: written by the GL thread as it draws, read by the window
    // procedure's coordinate chain on any thread; under shape_mutex, which
    // is held only to copy them and never with the renderer lock waited for.
    mutable std::mutex shape_mutex;
    noxd::PictureRect shown_picture_rect;
    noxd::Orientation shown_orientation;

    // Viewport. The video position and the viewport words are written by
    // host threads and the window's thread without the lock.
    std::atomic<float> video_left{0.0f};
    std::atomic<float> video_bottom{1.0f};
    std::atomic<float> video_right{1.0f};
    std::atomic<float> video_top{0.0f};
    std::atomic<bool> viewport_pending{false};
    std::atomic<int32_t> viewport_width{0};
    std::atomic<int32_t> viewport_height{0};
    // The GL viewport last set on the GL thread and the client size it was
    // set for; GL thread only.
    noxd::Viewport gl_viewport = {};
    int32_t gl_client_width = 0;
    int32_t gl_client_height = 0;
    // The frame's textures; GL thread only.
    noxd::FrameTextures textures;
    // The frame converted on the CPU, on the GL 1.1 path; GL thread, lock held.
    noxd::ConvertedPicture converted;

    // Frame statistics: recorded on the GL thread after each frame, read by
    // noxd_get_stats on any thread. stats_mutex guards stats and is held
    // only for one record or one read, never with the renderer lock waited for.
    std::mutex stats_mutex;
    noxd::FrameStats stats;
    // The size and format of the frames shown now, for noxd_get_stats and
    // the snapshot size on any thread; under stats_mutex.
    noxd::FrameGeometry reported_geometry;

    // The "no video" cover: how long without a frame makes a redraw show it;
    // 0: never. Any thread.
    std::atomic<uint32_t> stale_timeout_ms{0};

    // Window-procedure messages holding the renderer, under the window-call gate.
    noxd::WindowCallState window_calls;
};

}  // namespace noxd
