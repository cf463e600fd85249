// A thread of its own for one contender: its window, its GL context and
// every call on them run there, as each pipeline needs one GL thread.
#pragma once

#include <windows.h>

#include <functional>

#include "win32_owners.h"

namespace bench {

// Runs jobs one at a time on its thread and dispatches the thread's window
// messages while it waits for the next one. Post/Wait are called from one
// controlling thread only; the job's captures must outlive Wait.
class Worker {
public:
    Worker();
    ~Worker();  // waits for a posted job, then ends the thread
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Post(std::function<void()> job);
    void Wait();
    void Run(std::function<void()> job) {
        Post(std::move(job));
        Wait();
    }

private:
    static DWORD WINAPI Main(void* self);
    void Loop();

    // job_ready wakes the thread, job_done wakes the controller; job is
    // written by the controller only while no job runs.
    noxd::UniqueKernelHandle job_ready_;
    noxd::UniqueKernelHandle job_done_;
    std::function<void()> job_;
    bool quit_ = false;
    bool pending_ = false;
    noxd::UniqueKernelHandle thread_;
};

// Dispatches the calling thread's pending window messages.
void PumpMessages();

}  // namespace bench
