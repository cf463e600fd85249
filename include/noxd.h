/*
 * noxd: OpenGL video renderer for surveillance views.
 *
 * A host creates one renderer per view on the thread that will draw it (the
 * GL thread), pushes decoded frames with noxd_draw_frame on that thread and
 * releases it there. Every function takes the renderer handle first.
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

/* Opaque renderer handle. */
typedef struct CGLRenderer *NOXD_RENDERER;

/* Frame format codes, fixed at creation. */
enum {
    NOXD_FORMAT_I420 = 8,  /* planes Y (w*h), U (w/2*h/2), V (w/2*h/2); top row first */
    NOXD_FORMAT_UYVY = 9,  /* U Y0 V Y1 per pixel pair; top row first */
    NOXD_FORMAT_BGR32 = 10, /* B G R x per pixel; bottom row first */
    NOXD_FORMAT_BGR24 = 11, /* B G R per pixel; bottom row first */
    NOXD_FORMAT_YUY2 = 12  /* Y0 U Y1 V per pixel pair; top row first */
};

/* Creation results besides the common ones. */
#define NOXD_E_BAD_FORMAT ((HRESULT)0x80040201L)  /* format is not one of the five codes */
#define NOXD_E_NO_SHADERS ((HRESULT)0xC0262511L)  /* no GL shader programs, now or before */

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
 * NOXD_E_NO_SHADERS when GL offers no shader programs.
 */
NOXD_API HRESULT noxd_create_renderer(HWND window, const wchar_t *title, int window_width,
                                      int window_height, int format, int frame_width,
                                      int frame_height, NOXD_RENDERER *renderer);

/* Releases the renderer on its GL thread; gives a host window its procedure back. */
NOXD_API HRESULT noxd_release_renderer(NOXD_RENDERER renderer);

/* The window drawn into: the host's, or the renderer's own. Any thread. */
NOXD_API HWND noxd_get_hwnd(NOXD_RENDERER renderer);

/* Draws one whole frame in the renderer's format, then the overlays; GL thread only. */
NOXD_API HRESULT noxd_draw_frame(NOXD_RENDERER renderer, const void *frame);

/* Places the video inside the client area: fractions of its width (left,
 * right) and height (bottom, top, measured down from the top edge). */
NOXD_API HRESULT noxd_set_video_pos(NOXD_RENDERER renderer, float left, float bottom,
                                    float right, float top);

#ifdef __cplusplus
}
#endif

#endif
