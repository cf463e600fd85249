// The floor: the least a GL 2.0 program must do to show a frame. Textures
// are allocated once; each frame is one sub-upload per plane, one quad
// through a fragment shader with the renderer's conversion maths, linear
// filtering, and the swap. What noxd does beyond this is its overhead.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>

#include "overlay_calls.h"
#include "pipeline.h"
#include "win32_owners.h"

namespace bench {

// Work the floor leaves out but noxd's frame sequence does, each added on its
// own to find what it costs (noxd_bench --only 8).
enum FloorExtra : unsigned {
    kRespecify = 1,      // glTexImage2D of the whole frame before each sub-upload
    kPushAttrib = 2,     // every attribute group pushed around the video quad, popped after
    kClear = 4,          // the window cleared before the quad
    kTextureState = 8,   // per texture: enable, bind, both filters, environment mode
    kAllUnitCoords = 16, // texture coordinates for units 0 to 2 at every vertex
    kProgramSwitch = 32, // program made current and left, a switch uniform set both times
    kKernelMutex = 64,   // a Win32 mutex taken and given back around the frame
    // The GL calls of the bench's fifty overlays after the quad, each image
    // uploaded into one shared texture name as it is drawn (as noxd does)...
    kOverlays = 128,
    // ...or each image in a texture of its own, uploaded once.
    kOverlaysInOwnTextures = 256,
};
// Everything noxd's frame sequence does beyond the floor.
constexpr unsigned kNoxdFramePieces =
    kRespecify | kPushAttrib | kClear | kTextureState | kAllUnitCoords | kProgramSwitch;

class FloorPipeline : public Pipeline {
public:
    explicit FloorPipeline(unsigned extras = 0) : extras_(extras) {}
    ~FloorPipeline() override;
    bool Open(const ViewLayout& layout) override;
    void Draw(const uint8_t* frame) override;
    HWND window() const override { return window_ ? window_->get() : nullptr; }

    // "renderer / version" of the GL the floor runs on; after Open.
    std::string GlDescription() const;

private:
    struct Plane {
        GLuint texture;
        GLint unit;
        GLsizei width, height;
        GLenum source_format;
        size_t offset;
    };
    bool CreateContext();
    bool BuildProgram(int format);
    void AllocatePlanes(const ViewLayout& layout);
    void Upload(const Plane& p, GLint internal_format, const uint8_t* frame) const;
    void DrawQuad() const;
    void DrawOverlays() const;

    std::unique_ptr<BenchWindow> window_;
    noxd::WindowDc dc_;
    noxd::UniqueGlContext context_;
    GLuint program_ = 0;
    GLuint shader_ = 0;
    Plane planes_[3] = {};
    int plane_count_ = 0;
    bool bottom_up_ = false;
    unsigned extras_;
    GLint internal_formats_[3] = {};
    GLint switch_location_ = -1;
    noxd::UniqueKernelHandle mutex_;
    std::unique_ptr<OverlayCalls> overlays_;
    double width_ = 0, height_ = 0;
};

std::unique_ptr<Pipeline> MakeFloorPipeline();

}  // namespace bench
