// What GL a window's context gets in this process, asked the way a program
// on the machine would ask it: a small hidden window, a context of our own
// on it, current on the calling thread while the probe lives. The renderer
// is not involved, so a test can tell what its GL offers before blaming
// the renderer for what it drew.
#pragma once

#include <windows.h>

#include <string>

#include "win32_owners.h"

namespace noxd_test {

class GlProbe {
public:
    GlProbe();
    // Leaves the thread with the context it had before.
    ~GlProbe();
    GlProbe(const GlProbe&) = delete;
    GlProbe& operator=(const GlProbe&) = delete;

    // Empty when the context is current; else the step that failed, with
    // GetLastError's code.
    const std::string& failure() const { return failure_; }

    // glGetString's answers; empty where GL gave none.
    const std::string& version() const { return version_; }
    const std::string& renderer() const { return renderer_; }
    const std::string& extensions() const { return extensions_; }
    int max_texture_size() const { return max_texture_size_; }

    // Whether the extension string lists `name` as a whole word.
    bool HasExtension(const char* name) const;
    // What wglGetProcAddress gives for `name` in this context.
    PROC Proc(const char* name) const;

private:
    noxd::UniqueWindow window_;
    noxd::WindowDc dc_;
    noxd::UniqueGlContext context_;
    HDC previous_dc_ = nullptr;
    HGLRC previous_context_ = nullptr;
    std::string failure_;
    std::string version_;
    std::string renderer_;
    std::string extensions_;
    int max_texture_size_ = 0;
};

}  // namespace noxd_test
