/* A camera view in a window of the renderer's own: one second of frames of
 * one colour, then a snapshot of the last one read back, then the view
 * released. Prints what the snapshot holds and exits 0 when it is the
 * frames' colour. */
#include <stdio.h>

#include <noxd.h>

enum { kWidth = 4, kHeight = 4 };

/* A pixel as BGR32 frames and snapshots hold it in memory: blue, green,
 * red and one more byte, read as one little-endian 32-bit word. */
#define PIXEL(red, green, blue) (((DWORD)(red) << 16) | ((DWORD)(green) << 8) | (DWORD)(blue))

static int failed(const char *call, HRESULT hr) {
    printf("%s failed: 0x%08lx\n", call, (unsigned long)hr);
    return 1;
}

int main(void) {
    DWORD frame[kWidth * kHeight], snapshot[kWidth * kHeight], shown;
    NOXD_RENDERER view = NULL;
    HRESULT hr;
    int i, width = 0, height = 0;

    for (i = 0; i < kWidth * kHeight; ++i) frame[i] = PIXEL(200, 40, 90);
    /* On the thread that draws; NULL: the renderer opens its own window. */
    hr = noxd_create_renderer(NULL, L"noxd from Visual Studio", 320, 240, NOXD_FORMAT_BGR32, kWidth,
                              kHeight, &view);
    if (hr != S_OK) return failed("noxd_create_renderer", hr);
    /* A second of video at 25 frames a second. */
    for (i = 0; i < 25; ++i) {
        noxd_draw_frame(view, frame);
        Sleep(40);
    }
    /* The decoded frame as the renderer holds it, its fourth byte 255. */
    hr = noxd_snapshot_to_memory(view, 0, snapshot, (UINT)sizeof snapshot, &width, &height);
    noxd_release_renderer(view);
    if (hr != S_OK) return failed("noxd_snapshot_to_memory", hr);
    shown = snapshot[0] & 0xFFFFFF;
    printf("snapshot %dx%d, first pixel red %lu green %lu blue %lu\n", width, height,
           (unsigned long)(shown >> 16), (unsigned long)((shown >> 8) & 0xFF), (unsigned long)(shown & 0xFF));
    return shown == PIXEL(200, 40, 90) ? 0 : 1;
}
