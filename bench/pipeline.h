// A contender: something that shows frames of one format in one window. Each
// lives on a Worker thread, which opens it, draws with it and destroys it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "win32_owners.h"

namespace bench {

// Where and what a contender shows: frames of `format` (a noxd format code)
// and size, in a client area at (x, y) on the screen.
struct ViewLayout {
    int format;
    int frame_width;
    int frame_height;
    int x = 0;
    int y = 0;
    int client_width;
    int client_height;
};

class Pipeline {
public:
    virtual ~Pipeline() = default;
    // Makes the window and the drawing state; false when that failed.
    virtual bool Open(const ViewLayout& layout) = 0;
    // Shows one whole frame of the layout's format and swaps it to the screen.
    virtual void Draw(const uint8_t* frame) = 0;
    virtual HWND window() const = 0;
};

// "renderer / version" of the GL current on this thread.
std::string CurrentGlDescription();

// Contenders are made on their worker thread by a factory.
using PipelineFactory = std::function<std::unique_ptr<Pipeline>()>;

// A visible top-level window without a frame whose client area is the
// layout's rectangle; destroyed with its owner, on the thread that made it.
class BenchWindow {
public:
    explicit BenchWindow(const ViewLayout& layout);
    HWND get() const { return window_.get(); }

private:
    noxd::UniqueWindow window_;
};

// Puts the window above the others, so that it is the one the screen shows
// where windows overlap. Called on the window's thread.
void BringToTop(HWND window);

}  // namespace bench
