#include "worker.h"

namespace bench {

Worker::Worker()
    : job_ready_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      job_done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, &Worker::Main, this, 0, nullptr)) {}

Worker::~Worker() {
    Wait();
    quit_ = true;
    SetEvent(job_ready_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
}

void Worker::Post(std::function<void()> job) {
    Wait();
    job_ = std::move(job);
    pending_ = true;
    SetEvent(job_ready_.get());
}

void Worker::Wait() {
    if (!pending_) return;
    WaitForSingleObject(job_done_.get(), INFINITE);
    pending_ = false;
}

DWORD WINAPI Worker::Main(void* self) {
    static_cast<Worker*>(self)->Loop();
    return 0;
}

void Worker::Loop() {
    HANDLE ready = job_ready_.get();
    for (;;) {
        // Sleeps until a job or a message comes: an idle contender costs no CPU.
        const DWORD woke = MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 + 1) {
            PumpMessages();
            continue;
        }
        if (quit_) return;
        job_();
        job_ = nullptr;
        PumpMessages();
        SetEvent(job_done_.get());
    }
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace bench
