/*
 * noxd: OpenGL video renderer for surveillance views.
 *
 * A host creates one renderer per view on the thread that will draw it (the
 * GL thread), pushes decoded frames with noxd_draw_frame on that thread and
 * releases it there. Every function takes the renderer handle first, but
 * noxd_set_fallback, which sets what later creations do in the process.
 *
 * Status results are HRESULT values: 0 on success, 0x80070057 (E_INVALIDARG),
 * 0x80004005 (E_FAIL), 0x8000FFFF (E_UNEXPECTED) and the codes listed below.
 */
#ifndef NOXD_H
#define NOXD_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef NOXD_BUILDING
#define NOXD_API __declspec(dllexport)
#else
#define NOXD_API __declspec(dllimport)
#endif

/* No export lets an exception out: C++ callers see them all noexcept. */
#ifdef __cplusplus
#define NOXD_NOEXCEPT noexcept
#else
#define NOXD_NOEXCEPT
#endif

/* Every export says __cdecl, as the DLL was built: a project whose default
 * convention is another (/Gz __stdcall, /Gr __fastcall, /Gv __vectorcall)
 * would otherwise look for decorated names no import library has, or leave
 * the stack unbalanced. The callbacks say CALLBACK (__stdcall) for the same
 * reason. */

/* A structure's size per word size, checked wherever the header is
 * compiled, also as C89: packing or a define that changes the layout fails
 * the host's build instead of feeding the DLL a structure it misreads. */
#define NOXD_SIZE_CHECK(name, type, size32, size64) \
    typedef char name[sizeof(type) == (sizeof(void *) == 8 ? (size64) : (size32)) ? 1 : -1]

/* Opaque renderer handle. */
typedef struct CGLRenderer *NOXD_RENDERER;

/* Frame format codes. The layouts are those of noxd_draw_frame, which always
 * takes the format and size given at creation; noxd_draw_planes takes any
 * format and size, frame by frame. */
enum {
    NOXD_FORMAT_I420 = 8,  /* planes Y (w*h), U (w/2*h/2), V (w/2*h/2); top row first */
    NOXD_FORMAT_UYVY = 9,  /* U Y0 V Y1 per pixel pair; top row first */
    NOXD_FORMAT_BGR32 = 10, /* B G R x per pixel; bottom row first */
    NOXD_FORMAT_BGR24 = 11, /* B G R per pixel; bottom row first */
    NOXD_FORMAT_YUY2 = 12, /* Y0 U Y1 V per pixel pair; top row first */
    NOXD_FORMAT_NV12 = 0x3231564E, /* plane Y (w*h), then h/2 rows of w bytes: U V pairs; top row first */
    NOXD_FORMAT_NV21 = 0x3132564E  /* the same with V U pairs */
};

/* Creation results besides the common ones. */
#define NOXD_E_BAD_FORMAT ((HRESULT)0x80040201L)  /* format is not one of the seven codes */
#define NOXD_E_NO_SHADERS ((HRESULT)0xC0262511L)  /* no GL context, or no shader programs */
/* A snapshot asked for before the first frame (HRESULT_FROM_WIN32(ERROR_NOT_READY)). */
#define NOXD_E_NO_FRAME ((HRESULT)0x80070015L)

/* Host mouse callback: every mouse message of the view's window, with the
 * pointer in normalized video coordinates (x 0..1 left to right, y 0..1
 * bottom to top). Note lParam comes before wParam. */
typedef void (CALLBACK *MouseCallback)(NOXD_RENDERER renderer, UINT message,
                                       LPARAM lParam, WPARAM wParam, float x, float y);

/* Overlay button callback: the button's handle, the mouse message and the
 * pointer in normalized video coordinates. */
typedef void (CALLBACK *OsdButtonCallback)(NOXD_RENDERER renderer, UINT_PTR button,
                                           UINT message, float x, float y);

/*
 * Creates a renderer drawing into `window`, or into a top-level window of its
 * own of class "CGLRenderer" when `window` is NULL (client size
 * window_width x window_height, 0 meaning the frame size). Call it on the
 * thread that will draw; the handle, or NULL on failure, is stored through
 * `renderer`. Fails with NOXD_E_BAD_FORMAT for an unknown format and with
 * NOXD_E_NO_SHADERS when the window cannot take a GL context (this creation
 * only) or GL offers no shader programs (then every later creation too, as
 * long as noxd_set_fallback has not switched the fallback on).
 */
NOXD_API HRESULT __cdecl noxd_create_renderer(HWND window, const wchar_t *title, int window_width,
                                              int window_height, int format, int frame_width,
                                              int frame_height,
                                              NOXD_RENDERER *renderer) NOXD_NOEXCEPT;

/* Where GL offers no shader programs (Windows' own OpenGL 1.1 in virtual
 * machines, remote sessions and PCs without a graphics driver), creations
 * fail with NOXD_E_NO_SHADERS while the fallback is off, the default. With
 * NOXD_FALLBACK_CPU they succeed there instead: frames are converted to BGRA
 * on the CPU and drawn with OpenGL 1.1 alone (NOXD_STATS.path says so, and
 * the creation writes one debugger line saying why). Every frame format,
 * colour space, overlay, zoom, tool and snapshot works on that path; it
 * costs CPU time per frame (docs/noxd.md). Process-wide, any thread; the
 * creations that start after the call follow it. E_INVALIDARG for another
 * mode. The only function that takes no renderer. */
enum {
    NOXD_FALLBACK_OFF = 0,
    NOXD_FALLBACK_CPU = 1
};
NOXD_API HRESULT __cdecl noxd_set_fallback(int mode) NOXD_NOEXCEPT;

/* Releases the renderer on its GL thread; gives a host window its procedure back. */
NOXD_API HRESULT __cdecl noxd_release_renderer(NOXD_RENDERER renderer) NOXD_NOEXCEPT;

/* The window drawn into: the host's, or the renderer's own. Any thread. */
NOXD_API HWND __cdecl noxd_get_hwnd(NOXD_RENDERER renderer) NOXD_NOEXCEPT;

/* Draws one whole frame in the format and size given at creation, then the
 * overlays; GL thread only. After frames of another size or format from
 * noxd_draw_planes, the view goes back to the creation's. */
NOXD_API HRESULT __cdecl noxd_draw_frame(NOXD_RENDERER renderer, const void *frame) NOXD_NOEXCEPT;

/* A frame described plane by plane, as decoders hand frames over. For each
 * plane the format uses, data points at the picture's top row and pitch is
 * the signed byte distance to the next row down (a bottom-up BGR buffer is
 * passed as its last row with a negative pitch); |pitch| is at least the
 * row's bytes. Planes: I420 Y, U, V; NV12 and NV21 Y, then the interleaved
 * chroma; the packed formats one. Chroma planes of odd sizes are
 * (w+1)/2 x (h+1)/2. The renderer reads rows 0..h-1 of each plane: from
 * data, (h-1)*|pitch| plus one row's bytes in the pitch's direction. Planes
 * the format does not use are not read. */
typedef struct NOXD_PLANES {
    UINT size;              /* sizeof(NOXD_PLANES) as the caller was built */
    INT format;             /* any of the seven format codes */
    INT width;              /* in pixels; may change from frame to frame */
    INT height;
    const void *data[3];
    INT pitch[3];
} NOXD_PLANES;
NOXD_SIZE_CHECK(noxd_planes_size_check, NOXD_PLANES, 40, 56);

/* Draws the frame, then the overlays; GL thread only. A frame of another
 * size or format than the last is drawn at once, overlays, zoom, tools,
 * colour space and video position kept. E_INVALIDARG, nothing drawn, for a
 * null descriptor, a size field below this structure's, an unknown format,
 * a width or height below 1 or above the GL's maximum texture size (32768
 * on the GL 1.1 path, which tiles larger frames), a null plane or a pitch
 * smaller than the row; E_FAIL without a program. */
NOXD_API HRESULT __cdecl noxd_draw_planes(NOXD_RENDERER renderer,
                                          const NOXD_PLANES *frame) NOXD_NOEXCEPT;

/* Places the video inside the client area: fractions of its width (left,
 * right) and height (bottom, top, measured down from the top edge). */
NOXD_API HRESULT __cdecl noxd_set_video_pos(NOXD_RENDERER renderer, float left, float bottom,
                                            float right, float top) NOXD_NOEXCEPT;

/* --- Mouse ---------------------------------------------------------------
 * The callback runs on the window's thread (the renderer's own thread for its
 * own window, the host's thread for a host window) with no lock held, before
 * the renderer handles the message; it may call any noxd function. While
 * privacy-mask editing is on it gets the pointer on a 0-10000 scale of the
 * client area (y down) instead of normalized video coordinates. */

/* Sets (or, with NULL, removes) the mouse callback. Returns 0. */
NOXD_API HRESULT __cdecl noxd_set_mouse_callback(NOXD_RENDERER renderer,
                                                 MouseCallback callback) NOXD_NOEXCEPT;

/* Confines the cursor to the window's current rectangle (on != 0) or frees it. Returns 1. */
NOXD_API int __cdecl noxd_clip_mouse(NOXD_RENDERER renderer, BOOL on) NOXD_NOEXCEPT;

/* Takes any value and changes nothing; kept for hosts that call it. Returns 1. */
NOXD_API int __cdecl noxd_stop_win_callback(NOXD_RENDERER renderer, int value) NOXD_NOEXCEPT;

/* --- Digital zoom ----------------------------------------------------------
 * Zoom windows are in normalized picture coordinates: x 0..1 left to right,
 * y 0..1 bottom to top; the whole picture is left 0, top 1, right 1, bottom 0. */

/* Mouse zoom on (drag a rectangle; click or double-click for the whole
 * picture) or off (low byte 0; the whole picture is shown again). Returns 0. */
NOXD_API int __cdecl noxd_enable_digital_zoom(NOXD_RENDERER renderer, BOOL on) NOXD_NOEXCEPT;

/* Shows the rectangle with corners (x0, y0) and (x1, y1), in any order. Any
 * rectangle but the whole picture locks out the mouse zoom. Returns 0. */
NOXD_API int __cdecl noxd_set_zoom_rect(NOXD_RENDERER renderer, float x0, float y0, float x1,
                                        float y1) NOXD_NOEXCEPT;

/* Static zoom on (non-zero) or off: every frame shows the stored window. Returns 1. */
NOXD_API int __cdecl noxd_enable_digital_zoom_static(NOXD_RENDERER renderer,
                                                     int value) NOXD_NOEXCEPT;

/* Stores the window for static zoom; note the order left, right, top, bottom. Returns 1. */
NOXD_API int __cdecl noxd_digital_zoom_static(NOXD_RENDERER renderer, float left, float right,
                                              float top, float bottom) NOXD_NOEXCEPT;

/* --- Editing tools ---------------------------------------------------------
 * Each shows the rectangle being dragged with the left button as a dashed
 * yellow band until the first frame after the release. Switches read the low
 * byte of `on`. All return 0. */

/* The drag rectangle: on only when the low byte is exactly 1. */
NOXD_API HRESULT __cdecl noxd_show_drag_rect(NOXD_RENDERER renderer, BOOL on) NOXD_NOEXCEPT;

/* Privacy-mask editing; also switches the mouse callback to the 0-10000 form. */
NOXD_API HRESULT __cdecl noxd_set_privacy_mask_flag(NOXD_RENDERER renderer, BOOL on) NOXD_NOEXCEPT;

/* Motion-area editing. */
NOXD_API HRESULT __cdecl noxd_start_motion_edit(NOXD_RENDERER renderer, BOOL on) NOXD_NOEXCEPT;

/* A tool's rectangle in the frame's own coordinates, zoom, turn and mirror
 * undone (what a host sends to the camera): rect = left, top, right,
 * bottom, x 0..1 left to right and y 0..1 bottom to top of the whole frame.
 * Tools: NOXD_TOOL_ZOOM (the zoom window, also the drag rectangle's),
 * NOXD_TOOL_PRIVACY, NOXD_TOOL_MOTION. Any thread. S_FALSE, rect all 0,
 * while the tool has no rectangle yet; E_INVALIDARG for a null renderer or
 * rect, or another tool. */
enum { NOXD_TOOL_ZOOM = 0, NOXD_TOOL_PRIVACY = 1, NOXD_TOOL_MOTION = 2 };
NOXD_API HRESULT __cdecl noxd_get_tool_rect(NOXD_RENDERER renderer, int tool,
                                            float rect[4]) NOXD_NOEXCEPT;

/*
 * Overlays, drawn over the video in every frame in the order they were added.
 * Positions are normalized video coordinates (x 0..1 left to right, y 0..1
 * bottom to top); colours are 0xAABBGGRR, alpha 0 meaning opaque for shapes.
 * Every add takes the address of the caller's handle variable: the new
 * overlay's handle is stored there and an overlay the variable named before
 * is deleted, also when the add fails (the variable is then 0). Handles are
 * never reused. Any thread; flags read only their low byte. A null renderer
 * returns 0 and does nothing; a null handle variable returns E_INVALIDARG.
 */

/* Rectangle with corners (x0, y0) and (x1, y1), filled or outlined. */
NOXD_API HRESULT __cdecl noxd_add_osd_rectangle(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                                float x0, float y0, float x1, float y1,
                                                UINT line_width, UINT color, UINT dashed,
                                                UINT filled) NOXD_NOEXCEPT;
/* Circle of a radius given as a fraction of the viewport height; never dashed. */
NOXD_API HRESULT __cdecl noxd_add_osd_circle(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                             float cx, float cy, float radius, UINT line_width,
                                             UINT color, UINT unused, UINT filled) NOXD_NOEXCEPT;
/* Ellipse outline with radii in pixels, turned by `rotation` whole radians. */
NOXD_API HRESULT __cdecl noxd_add_osd_circle2(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                              float cx, float cy, float radius_x, float radius_y,
                                              UINT rotation, UINT line_width, UINT color,
                                              UINT unused, UINT filled) NOXD_NOEXCEPT;
/* Triangle, filled or outlined. */
NOXD_API HRESULT __cdecl noxd_add_osd_triangle(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                               float x0, float y0, float x1, float y1, float x2,
                                               float y2, UINT line_width, UINT color, UINT dashed,
                                               UINT filled) NOXD_NOEXCEPT;
/* Line from (x0, y0) to (x1, y1). */
NOXD_API HRESULT __cdecl noxd_add_osd_line(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                           float x0, float y0, float x1, float y1, UINT line_width,
                                           UINT color, UINT dashed) NOXD_NOEXCEPT;
/* Round point of `point_size` pixels. */
NOXD_API HRESULT __cdecl noxd_add_osd_point(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                            float x, float y, UINT point_size,
                                            UINT color) NOXD_NOEXCEPT;
/* Image overlays. (x0, y0) is the top-left and (x1, y1) the bottom-right
 * corner, the image's top row drawn along y0. Anchor 0 stretches the image
 * over the corners; the others keep the size the corners give on a 768x576
 * frame and keep one corner: 1 (and any other value) top-left, 2 bottom-left,
 * 3 top-right, 4 bottom-right. A 32-bit image without alpha of its own is
 * keyed: pixels of key_color (a COLORREF) get key_alpha (low byte), the rest
 * are opaque; 8-, 16- and 24-bit images are opaque. Bitmaps are read during
 * the call and stay the caller's. */

/* Image from a Windows bitmap file; E_INVALIDARG for a missing or malformed file. */
NOXD_API HRESULT __cdecl noxd_add_osd_bitmap_file(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                                  const wchar_t *path, float x0, float y0, float x1,
                                                  float y1, int anchor, UINT key_color,
                                                  UINT key_alpha) NOXD_NOEXCEPT;
/* Image from |width| x |height| blue-green-red-alpha pixels, top row first, used as given. */
NOXD_API HRESULT __cdecl noxd_add_osd_bitmap_data32(NOXD_RENDERER renderer,
                                                    UINT_PTR *handle_variable, const void *data,
                                                    int width, int height, float x0, float y0,
                                                    float x1, float y1, int anchor, UINT key_color,
                                                    UINT key_alpha) NOXD_NOEXCEPT;
/* Image from a bitmap of the caller's (8, 16, 24 or 32 bits per pixel). */
NOXD_API HRESULT __cdecl noxd_add_osd_bitmap_handle(NOXD_RENDERER renderer,
                                                    UINT_PTR *handle_variable, HBITMAP bitmap,
                                                    float x0, float y0, float x1, float y1,
                                                    int anchor, UINT key_color,
                                                    UINT key_alpha) NOXD_NOEXCEPT;
/* Button showing the normal image, or the pressed or hover one (optional, may differ in size). */
NOXD_API HRESULT __cdecl noxd_add_osd_button(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                             OsdButtonCallback callback, HBITMAP normal,
                                             HBITMAP pressed, HBITMAP hover, float x0, float y0,
                                             float x1, float y1, int anchor, UINT key_color,
                                             UINT key_alpha) NOXD_NOEXCEPT;
/* Text in a non-antialiased font, outlined; each colour's alpha byte is its pixels' alpha. */
NOXD_API HRESULT __cdecl noxd_add_osd_text(NOXD_RENDERER renderer, UINT_PTR *handle_variable,
                                           const wchar_t *text, int font_height,
                                           const wchar_t *face_name, int weight, float x0, float y0,
                                           float x1, float y1, int anchor, UINT text_color,
                                           UINT background_color, UINT outline_color,
                                           UINT outline_width) NOXD_NOEXCEPT;
/* Deletes the overlay the variable names and sets it to 0; E_INVALIDARG if there is none. */
NOXD_API HRESULT __cdecl noxd_delete_osd(NOXD_RENDERER renderer,
                                         UINT_PTR *handle_variable) NOXD_NOEXCEPT;
/* Deletes every overlay; E_INVALIDARG if there was none. Handle variables keep their values. */
NOXD_API HRESULT __cdecl noxd_clear_osd(NOXD_RENDERER renderer) NOXD_NOEXCEPT;
/* Dash pattern (low 16 bits, bit 0 first, 2 pixels a bit) of outlines added from now on. */
NOXD_API HRESULT __cdecl noxd_set_dash_mask(NOXD_RENDERER renderer, UINT pattern) NOXD_NOEXCEPT;

/* --- Colour, statistics, redraw, "no video", snapshots ----------------------
 * All return E_INVALIDARG for a null renderer. */

/* Colour space of YUV frames (every format but 10 and 11); BGR frames are shown as
 * they are. Matrix NOXD_COLOR_BT601 (the default) or NOXD_COLOR_BT709; range
 * NOXD_RANGE_LIMITED (the default: Y 16-235, U and V 16-240) or
 * NOXD_RANGE_FULL (0-255). Any thread; applies from the next frame drawn.
 * E_INVALIDARG for another code, leaving the colour space as it was. */
enum { NOXD_COLOR_BT601 = 0, NOXD_COLOR_BT709 = 1 };
enum { NOXD_RANGE_LIMITED = 0, NOXD_RANGE_FULL = 1 };
NOXD_API HRESULT __cdecl noxd_set_color_space(NOXD_RENDERER renderer, int matrix,
                                              int range) NOXD_NOEXCEPT;

/* The picture's shape in the video area. Mode NOXD_ASPECT_STRETCH (the
 * default) fills the area whatever the picture's aspect; NOXD_ASPECT_FIT
 * shows the whole picture as large as fits, centred, with black bars;
 * NOXD_ASPECT_FILL covers the area, centred, cropping the overflow.
 * sar_num:sar_den is the shape of a pixel (704x576 PAL D1 shown at 4:3:
 * 12:11), 0 in either meaning square; ignored when stretching. Recomputed
 * for every picture drawn, so resizes and new frame sizes need no call.
 * Any thread; applies from the next frame or redraw. E_INVALIDARG for an
 * unknown mode or a negative term. */
enum { NOXD_ASPECT_STRETCH = 0, NOXD_ASPECT_FIT = 1, NOXD_ASPECT_FILL = 2 };
NOXD_API HRESULT __cdecl noxd_set_aspect(NOXD_RENDERER renderer, int mode, int sar_num,
                                         int sar_den) NOXD_NOEXCEPT;

/* Turns the picture by 0, 90, 180 or 270 degrees clockwise, after
 * mirroring it left to right when `mirror` is 1 (0: not). Fit and fill use
 * the turned size. Any thread; applies from the next frame or redraw.
 * E_INVALIDARG for other degrees or another mirror value. */
NOXD_API HRESULT __cdecl noxd_set_orientation(NOXD_RENDERER renderer, int degrees,
                                              int mirror) NOXD_NOEXCEPT;

/* Statistics of a view. Set `size` to sizeof(NOXD_STATS) before the call: a
 * program built against an older, shorter structure gets only the fields it
 * has. Every field is 32 bits, so the layout is the same in 32- and 64-bit
 * programs. Times are measured around noxd_draw_frame, frames counted when
 * shown (redraws are not frames). */
typedef struct NOXD_STATS {
    UINT size;               /* bytes the caller's structure has; left as it is */
    UINT frames_drawn;       /* frames shown since creation; wraps at 2^32 */
    UINT frames_last_second; /* frames shown in the last second */
    UINT average_draw_us;    /* mean time noxd_draw_frame took for them; 0 if none */
    UINT worst_draw_us;      /* the longest of them */
    UINT ms_since_last_frame;/* since the last frame was shown; 0xFFFFFFFF before the first */
    INT frame_width;         /* the size and format code of the frames shown now */
    INT frame_height;
    INT format;
    INT client_width;        /* the window's client area now */
    INT client_height;
    UINT overlays;           /* overlays in the list, rubber bands included */
    UINT path;               /* NOXD_PATH_SHADERS or NOXD_PATH_CPU (noxd_set_fallback) */
} NOXD_STATS;
NOXD_SIZE_CHECK(noxd_stats_size_check, NOXD_STATS, 52, 52);

/* How a view draws its pictures: converted by shader programs, or converted
 * on the CPU and drawn with OpenGL 1.1 alone. */
enum {
    NOXD_PATH_SHADERS = 0,
    NOXD_PATH_CPU = 1
};

/* Fills *stats. Any thread; cheap enough for every frame: it never waits for
 * a frame being drawn. E_INVALIDARG for a null pointer or a size below 4. */
NOXD_API HRESULT __cdecl noxd_get_stats(NOXD_RENDERER renderer, NOXD_STATS *stats) NOXD_NOEXCEPT;

/* Draws the last frame again with the current overlays, zoom, tools and
 * colour space, for paused video or overlays changed while no frames come.
 * GL thread only. S_FALSE, drawing nothing, before the first frame; E_FAIL
 * without a program. A redraw is not a frame: the statistics do not count it. */
NOXD_API HRESULT __cdecl noxd_redraw(NOXD_RENDERER renderer) NOXD_NOEXCEPT;

/* When a redraw finds that no frame has come for `milliseconds`, it shows the
 * last picture dimmed with `text` centred over it (bold, white, outlined, 32
 * pixels high; NULL or empty: dimmed only); the next frame clears it. 0, the
 * default, switches it off. Any thread. E_INVALIDARG for a negative time;
 * E_FAIL when the text cannot be rasterised (nothing changes then). */
NOXD_API HRESULT __cdecl noxd_set_stale_timeout(NOXD_RENDERER renderer, int milliseconds,
                                                const wchar_t *text) NOXD_NOEXCEPT;

/* Snapshots, drawn again from the renderer's own textures into a buffer of
 * its own, so windows covering the view do not matter. `what`: 0 the decoded
 * frame at its own size, before zoom and overlays; 1 the view at the window's
 * client size as a redraw would show it now, zoom, overlays, rubber bands and
 * the "no video" cover included. GL thread only. NOXD_E_NO_FRAME before the first frame;
 * E_INVALIDARG for another `what`; E_FAIL when GL offers no framebuffer
 * objects. On the GL 1.1 path, which has none, the frame comes from the
 * renderer's converted copy (as converted: a colour space set since shows
 * from the next frame) and the view is drawn into the window's back buffer
 * and read before any swap, nothing shown. */

/* Writes the snapshot as a 24-bit BMP file, or as a PNG file when the path
 * ends in ".png". The file is written under a temporary name in the same
 * folder and then renamed, so a reader sees the old file or the whole new
 * one. Failures to write return the Windows error as an HRESULT. */
NOXD_API HRESULT __cdecl noxd_snapshot(NOXD_RENDERER renderer, const wchar_t *path,
                                       int what) NOXD_NOEXCEPT;

/* Fills `buffer` with the snapshot: *width x *height pixels of 4 bytes (blue,
 * green, red, 255), top row first, rows unpadded. With a NULL buffer only
 * *width and *height are set (the size the snapshot would have now). A
 * buffer of fewer than width x height x 4 bytes: 0x8007007A
 * (ERROR_INSUFFICIENT_BUFFER), with the sizes set. */
NOXD_API HRESULT __cdecl noxd_snapshot_to_memory(NOXD_RENDERER renderer, int what, void *buffer,
                                                 UINT buffer_bytes, int *width,
                                                 int *height) NOXD_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
