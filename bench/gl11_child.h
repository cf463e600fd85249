// Result 11's views on the GL 1.1 path. Mesa offers a GL without shaders
// only to a process that has its overrides in the environment when it starts
// (it reads them with getenv, once), so that view lives in a child process
// of the bench, started with them added to its environment. The child takes
// one command a line from a named pipe of the parent's and answers each with
// one line; it times its blocks itself, as a contender of the parent does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "contender.h"
#include "pipeline.h"
#include "win32_owners.h"

namespace bench {

class Gl11Child {
public:
    Gl11Child();   // starts the child; problem() says why it did not start
    ~Gl11Child();  // ends it
    Gl11Child(const Gl11Child&) = delete;
    Gl11Child& operator=(const Gl11Child&) = delete;

    // Empty while the child answers; else why it does not.
    const std::string& problem() const { return problem_; }

    struct Opened {
        std::string problem;  // empty when the view is ready
        bool refused = false; // a wrong picture or the wrong path, rather than no view
        std::string gl;       // the GL the child's view draws with
    };
    // A noxd view of the layout's frames in the child, on the GL 1.1 path,
    // its card shown on top of the screen and checked there. One at a time.
    Opened Open(const ViewLayout& layout);
    // The child's view raised, one frame drawn untimed and then `count` of
    // the moving pattern: ms per frame, as Contender::TimeBlock; NaN when
    // the child failed (problem() says how).
    double TimeBlock(int count);
    void Close();

private:
    // Sends one command and waits for its answer's line; empty with
    // problem_ set when the child is gone or silent.
    std::string Ask(const std::string& command);
    // The child's next line; empty with problem_ set when none comes (`what`
    // names what it would have answered).
    std::string WaitForLine(const std::string& what);

    noxd::UniqueKernelHandle pipe_;     // our end of the child's named pipe, overlapped
    noxd::UniqueKernelHandle io_done_;  // signalled as a call on the pipe finishes
    noxd::UniqueKernelHandle process_;
    std::string received_;              // bytes of the child's next lines
    std::string problem_;
};

// The path a noxd contender's view draws on (NOXD_STATS.path), or -1 when
// its statistics cannot be read.
int ViewPath(Contender& view);

// The card shown by the view and read off the screen, and no other window
// over its client area (the view of the other process lies at the same
// place): empty when both hold, else what is wrong.
std::string CardOnTop(Contender& view, const std::vector<uint8_t>& card);

// `noxd_bench --gl11-child PIPE`: the child's side, taking commands from
// the parent's named pipe until it closes.
int Gl11ChildMain(const char* pipe_name);

}  // namespace bench
