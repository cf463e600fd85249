// The floor: the least a GL program must do to show a frame. Textures are
// allocated once; each frame is one sub-upload per plane straight from the
// frame, one quad and the swap. RGB frames are drawn by fixed-function
// texturing, YUV frames through a fragment shader with the BT.601 maths.
// What noxd does beyond this is its overhead.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>

#include "overlay_calls.h"
#include "pipeline.h"
#include "win32_owners.h"

namespace bench {

// Work the floor leaves out, each added on its own to find what it costs
// (noxd_bench --only 8).
enum FloorExtra : unsigned {
    // glTexImage2D of the whole frame before each sub-upload; noxd re-makes a
    // texture's storage only when the frame's size or format changes.
    kRespecify = 1,
    kClear = 2,          // the window cleared before the quad
    kBindPerFrame = 4,   // every plane's texture bound again in each frame
    kAllUnitCoords = 8,  // texture coordinates for units 0 to 2 at every vertex
    // The program made current before the quad and left after it, where the
    // floor keeps it current; RGB frames then go through a pass-through
    // program instead of fixed-function texturing.
    kProgramSwitch = 16,
    kNoxdSequence = 32,  // what noxd's frame sequence adds for the frame's format
    // The GL calls of the bench's fifty overlays after the quad, each image
    // uploaded into one shared texture name as it is drawn...
    kOverlays = 64,
    // ...or each image in a texture of its own, uploaded once.
    kOverlaysInOwnTextures = 128,
};

// The pieces noxd's frame sequence adds to the floor, for every format.
unsigned NoxdFramePieces();

class FloorPipeline : public Pipeline {
public:
    explicit FloorPipeline(unsigned extras = 0) : extras_(extras) {}
    ~FloorPipeline() override;
    bool Open(const ViewLayout& layout) override;
    void Draw(const uint8_t* frame) override;
    HWND window() const override { return window_ ? window_->get() : nullptr; }

private:
    struct Plane {
        GLuint texture;
        GLint internal_format;
        GLenum source_format;
        GLsizei width, height;
        size_t offset;
    };
    bool CreateContext();
    bool BuildProgram(const char* source);
    void AllocatePlanes(const ViewLayout& layout);
    void UseFixedFunctionTexture() const;
    void Upload(int unit, const uint8_t* frame) const;
    void DrawQuad() const;
    void DrawOverlays() const;

    std::unique_ptr<BenchWindow> window_;
    noxd::WindowDc dc_;
    noxd::UniqueGlContext context_;
    GLuint program_ = 0;  // none for RGB frames drawn by fixed-function texturing
    GLuint shader_ = 0;
    Plane planes_[3] = {};
    int plane_count_ = 0;
    bool bottom_up_ = false;
    unsigned extras_;
    std::unique_ptr<OverlayCalls> overlays_;
    double width_ = 0, height_ = 0;
};

std::unique_ptr<Pipeline> MakeFloorPipeline();

}  // namespace bench
