/* A host as a Visual Studio project builds one: compiled for Microsoft's
 * ABI with the project's default calling convention (/Gd, /Gz or /Gr),
 * linked against noxd.lib, with noxd.h and the system's headers and import
 * libraries alone; no C runtime, as none of Microsoft's is at hand here.
 *
 * It draws a frame of one colour through noxd_draw_frame and one of another
 * through noxd_draw_planes, reads each back through noxd_snapshot_to_memory
 * and prints what it saw, then the statistics, one line each:
 *   frame 2x2 200 40 90
 *   planes 3x2 30 160 220
 *   stats 2 frames, 3x2, format 11, path 0
 *   stack kept over 9 calls        (32-bit only)
 * and exits 0 when every call returned what it should. The pixels and
 * counts come back only when the structures' layout and every argument
 * reached the DLL as this compiler passed them; in 32-bit, a convention
 * other than the DLL's also leaves the stack pointer elsewhere after the
 * call, which each call is checked for. */
#include <stdarg.h>

#include <noxd.h>

/* Microsoft's runtime defines it for programs that use floating point. */
int _fltused;

static int failures;

static void print(const char *format, ...) {
    char line[256];
    DWORD written = 0;
    int length;
    va_list args;
    va_start(args, format);
    length = wvsprintfA(line, format, args);
    va_end(args);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, (DWORD)length, &written, NULL);
}

static void expect(HRESULT got, HRESULT want, const char *call) {
    if (got == want) return;
    print("%s: 0x%08lx\n", call, (unsigned long)got);
    ++failures;
}

#if defined(_M_IX86)
static unsigned calls, stack_moves;
/* The stack pointer before and after the call: a cdecl callee leaves the
 * arguments to the caller, which takes back exactly what it pushed. One
 * left elsewhere is counted and put back where the code after the call
 * expects it, so that the host lives to report it. */
#define CHECKED(result, call)                                           \
    do {                                                                \
        unsigned before_, after_;                                       \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(before_));         \
        result = call;                                                  \
        __asm__ __volatile__("movl %%esp, %0" : "=r"(after_));          \
        ++calls;                                                        \
        if (before_ != after_) {                                        \
            ++stack_moves;                                              \
            __asm__ __volatile__("movl %0, %%esp" : : "r"(before_));    \
        }                                                               \
    } while (0)
#else
#define CHECKED(result, call) (result = call)
#endif

/* The first pixel of a snapshot of the decoded frame, and its size. */
static unsigned char pixels[16 * 4];
static void print_first_pixel(NOXD_RENDERER renderer, const char *label) {
    int width = 0, height = 0;
    HRESULT hr;
    CHECKED(hr, noxd_snapshot_to_memory(renderer, 0, pixels, (UINT)sizeof pixels, &width, &height));
    expect(hr, S_OK, "noxd_snapshot_to_memory");
    /* Blue, green, red, 255. */
    print("%s %dx%d %d %d %d\n", label, width, height, pixels[2], pixels[1], pixels[0]);
}

static void run(void) {
    /* BGR32, 2x2: B G R x per pixel. */
    unsigned char frame[16];
    /* BGR24, 3x2, rows padded to 12 bytes; both rows the same colour. */
    unsigned char rows[24];
    NOXD_PLANES planes;
    NOXD_STATS stats;
    NOXD_RENDERER renderer = NULL;
    HRESULT hr;
    int i;
    for (i = 0; i < 4; ++i) {
        frame[4 * i] = 90;
        frame[4 * i + 1] = 40;
        frame[4 * i + 2] = 200;
        frame[4 * i + 3] = 0;
    }
    for (i = 0; i < 24; ++i) rows[i] = 0;
    for (i = 0; i < 6; ++i) {
        unsigned char *pixel = rows + 12 * (i / 3) + 3 * (i % 3);
        pixel[0] = 220;
        pixel[1] = 160;
        pixel[2] = 30;
    }

    CHECKED(hr, noxd_create_renderer(NULL, L"msvc host", 64, 64, NOXD_FORMAT_BGR32, 2, 2, &renderer));
    expect(hr, S_OK, "noxd_create_renderer");
    if (hr != S_OK) return;
    /* Floats on the stack, after the handle. */
    CHECKED(hr, noxd_set_video_pos(renderer, 0.0f, 1.0f, 1.0f, 0.0f));
    expect(hr, S_OK, "noxd_set_video_pos");
    CHECKED(hr, noxd_draw_frame(renderer, frame));
    expect(hr, S_OK, "noxd_draw_frame");
    print_first_pixel(renderer, "frame");

    planes.size = (UINT)sizeof planes;
    planes.format = NOXD_FORMAT_BGR24;
    planes.width = 3;
    planes.height = 2;
    planes.data[0] = rows;
    planes.data[1] = planes.data[2] = NULL;
    planes.pitch[0] = 12;
    planes.pitch[1] = planes.pitch[2] = 0;
    CHECKED(hr, noxd_draw_planes(renderer, &planes));
    expect(hr, S_OK, "noxd_draw_planes");
    print_first_pixel(renderer, "planes");

    stats.size = (UINT)sizeof stats;
    CHECKED(hr, noxd_get_stats(renderer, &stats));
    expect(hr, S_OK, "noxd_get_stats");
    print("stats %u frames, %dx%d, format %d, path %u\n", stats.frames_drawn, stats.frame_width,
          stats.frame_height, stats.format, stats.path);

    CHECKED(hr, noxd_release_renderer(renderer));
    expect(hr, S_OK, "noxd_release_renderer");
    CHECKED(hr, noxd_set_fallback(NOXD_FALLBACK_OFF));
    expect(hr, S_OK, "noxd_set_fallback");
#if defined(_M_IX86)
    if (stack_moves) {
        print("stack moved after %u of %u calls\n", stack_moves, calls);
        ++failures;
    } else {
        print("stack kept over %u calls\n", calls);
    }
#endif
}

/* The entry point: no runtime to start. */
void __cdecl host_main(void) {
    run();
    ExitProcess(failures ? 1 : 0);
}
