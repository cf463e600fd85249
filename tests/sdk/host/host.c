/* Creates a renderer with a window of its own, draws a frame of one colour
 * and reads the middle of the window back off the screen through GDI.
 * Prints "pixel R G B" and exits 0 when that is the frame's colour. */
#include <stdio.h>
#include <stdlib.h>

#include <noxd.h>

enum { kRed = 200, kGreen = 40, kBlue = 90, kTolerance = 8 };

static int close_to(int got, int want) { return abs(got - want) <= kTolerance; }

/* What the screen shows in the middle of the window's client area. */
static COLORREF middle_pixel(HWND window) {
    RECT client;
    POINT middle;
    HDC screen;
    COLORREF colour;
    GetClientRect(window, &client);
    middle.x = client.right / 2;
    middle.y = client.bottom / 2;
    ClientToScreen(window, &middle);
    screen = GetDC(NULL);
    colour = GetPixel(screen, middle.x, middle.y);
    ReleaseDC(NULL, screen);
    return colour;
}

int main(void) {
    /* BGR32, 2x2: B G R x per pixel. */
    unsigned char frame[16];
    NOXD_RENDERER renderer = NULL;
    COLORREF colour = 0;
    HRESULT hr;
    int i;
    for (i = 0; i < 4; ++i) {
        frame[4 * i] = kBlue;
        frame[4 * i + 1] = kGreen;
        frame[4 * i + 2] = kRed;
        frame[4 * i + 3] = 0;
    }
    hr = noxd_create_renderer(NULL, L"sdk host", 64, 64, NOXD_FORMAT_BGR32, 2, 2, &renderer);
    if (hr != S_OK) {
        printf("noxd_create_renderer: 0x%08lx\n", (unsigned long)hr);
        return 1;
    }
    /* The window reaches the screen some frames after it was made. */
    for (i = 0; i < 60; ++i) {
        noxd_draw_frame(renderer, frame);
        Sleep(50);
        colour = middle_pixel(noxd_get_hwnd(renderer));
        if (close_to(GetRValue(colour), kRed) && close_to(GetGValue(colour), kGreen) && close_to(GetBValue(colour), kBlue))
            break;
    }
    noxd_release_renderer(renderer);
    printf("pixel %d %d %d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return i < 60 ? 0 : 1;
}
