// What the process writes to a debugger with OutputDebugString, as the
// debugger receives it: OutputDebugString raises DBG_PRINTEXCEPTION_C, which
// a vectored handler sees first.
#pragma once

#include <string>
#include <vector>

namespace noxd_test {

// Collects the lines while it lives; one at a time per process. The lines
// come from any thread; read them after the writers are done.
class DebugPrintCatcher {
public:
    DebugPrintCatcher();
    ~DebugPrintCatcher();
    DebugPrintCatcher(const DebugPrintCatcher&) = delete;
    DebugPrintCatcher& operator=(const DebugPrintCatcher&) = delete;

    const std::vector<std::string>& lines() const;
    void Clear();

private:
    void* handler_;
};

}  // namespace noxd_test
