// The renderer object behind every noxd handle. Its fields are grouped by the
// part of the renderer that owns them; the lock guards everything that more
// than one thread touches, except the single words marked atomic below.
#pragma once

#include <GL/glew.h>
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "frame_layout.h"
#include "interaction/interaction_state.h"
#include "osd/osd_list.h"
#include "renderer_lock.h"
#include "shader_program.h"
#include "win32_handles.h"

struct CGLRenderer {
    // Lock and status.
    noxd::RendererLock lock;
    HRESULT status = S_OK;

    // Window and GL binding. The render thread writes window, own_window,
    // host_window_proc and host_user_data only before it signals ready_event;
    // the creating thread reads them only after its wait succeeded.
    HWND window = nullptr;
    BOOL own_window = FALSE;
    wchar_t window_title[260] = {};
    int32_t window_width = 0;
    int32_t window_height = 0;
    WNDPROC host_window_proc = nullptr;
    LONG_PTR host_user_data = 0;  // what the host kept in the window's user data
    DWORD gl_thread_id = 0;       // the creating thread, where the context is current
    noxd::WindowDc device_context;
    noxd::UniqueGlContext gl_context;
    uint8_t color_bits = 24;
    noxd::UniqueKernelHandle ready_event;  // manual-reset: the window is ready
    noxd::UniqueKernelHandle stop_event;   // manual-reset: the render thread must end
    noxd::UniqueKernelHandle render_thread;

    // Shader program; GL thread only.
    noxd::FormatClass format_class = noxd::FormatClass::Bgr24;
    GLuint program = 0;
    GLuint fragment_shader = 0;
    noxd::ShaderUniforms uniforms;

    // Frame and viewport. The video position and the viewport words are
    // written by host threads and the window's thread without the lock.
    int32_t frame_width = 0;
    int32_t frame_height = 0;
    int32_t u_plane_offset = 0;
    int32_t v_plane_offset = 0;
    std::atomic<float> video_left{0.0f};
    std::atomic<float> video_bottom{1.0f};
    std::atomic<float> video_right{1.0f};
    std::atomic<float> video_top{0.0f};
    std::atomic<bool> viewport_pending{false};
    std::atomic<int32_t> viewport_width{0};
    std::atomic<int32_t> viewport_height{0};

    // Overlay list, under the lock.
    noxd::OsdState osd;

    // Mouse callback, zoom and editing tools.
    noxd::InteractionState interaction;
};
