// No exception ever leaves a COM method of the toolkit's objects: the caller
// is another module (the component, a host, OLE itself) that knows nothing of
// C++ exceptions. A method whose body can throw runs it through
// GuardComMethod; the caller then gets kComMethodFailed and a debugger gets
// one line naming the method.
#pragma once

#include <windows.h>

#include <cstdio>
#include <exception>

namespace noxd {

// What a COM method returns when its body threw (E_UNEXPECTED, "catastrophic failure").
constexpr HRESULT kComMethodFailed = E_UNEXPECTED;

// "<method>: exception: <what>" on the debugger's output.
inline void ReportComException(const char* method, const char* what) noexcept {
    char line[256];
    std::snprintf(line, sizeof line, "%s: exception: %s\n", method, what);
    OutputDebugStringA(line);
}

// Runs body (returning an HRESULT); any exception becomes kComMethodFailed.
template <typename Body>
HRESULT GuardComMethod(const char* method, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        ReportComException(method, error.what());
    } catch (...) {
        ReportComException(method, "unknown exception");
    }
    return kComMethodFailed;
}

}  // namespace noxd
