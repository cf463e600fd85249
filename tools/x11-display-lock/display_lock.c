/* Preloaded into Wine by tools/wine-exec: XLockDisplay and XUnlockDisplay
 * become one process-wide recursive mutex instead of libX11's user lock.
 *
 * Why: with libX11 1.8.4, a thread that reads an X error off the connection
 * takes the user lock before it calls the error handler (_XError). Wine 8.0
 * holds that lock whenever it expects an error (X11DRV_expect_error, e.g. for
 * XGetImage while painting a caption) and then waits for its reply, which
 * only the reading thread can hand over. When that reader is another
 * thread, e.g. one presenting GL frames (Mesa's software rasteriser syncs
 * after every put), and an error is in the stream (Wine makes and ignores
 * BadDrawable/BadGC ones routinely while windows come and go), both wait
 * for good. Wine's own critical sections keep their exclusion through the
 * mutex; only libX11 no longer blocks other threads' requests meanwhile,
 * which Wine needs merely to tell whose error it is.
 *
 * Built without system headers: the machine has the i386 libc, not its
 * development files. */

typedef union {
    char bytes[64];
    long long align;
} opaque_lock;

extern int pthread_mutexattr_init(opaque_lock *attr);
extern int pthread_mutexattr_settype(opaque_lock *attr, int kind);
extern int pthread_mutex_init(opaque_lock *mutex, const opaque_lock *attr);
extern int pthread_mutex_lock(opaque_lock *mutex);
extern int pthread_mutex_unlock(opaque_lock *mutex);

enum { kRecursiveMutex = 1 }; /* PTHREAD_MUTEX_RECURSIVE in glibc */

static opaque_lock display_lock;

__attribute__((constructor)) static void make_display_lock(void) {
    opaque_lock attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, kRecursiveMutex);
    pthread_mutex_init(&display_lock, &attr);
}

void XLockDisplay(void *display) {
    (void)display;
    pthread_mutex_lock(&display_lock);
}

void XUnlockDisplay(void *display) {
    (void)display;
    pthread_mutex_unlock(&display_lock);
}
