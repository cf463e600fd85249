// noxd as a contender: a renderer drawing into a bench window (or into a
// window of its own), through the public interface and noxd.dll only.
#pragma once

#include <memory>
#include <vector>

#include "noxd.h"
#include "noxd_api.h"
#include "pipeline.h"
#include "test_card.h"

namespace bench {

class NoxdPipeline : public Pipeline {
public:
    // own_window: the renderer makes its window (at (0, 0), with a frame)
    // instead of drawing into a bench window at the layout's place.
    explicit NoxdPipeline(bool own_window = false, const NoxdApi& api = LinkedNoxd())
        : own_window_(own_window), api_(api) {}
    ~NoxdPipeline() override;
    bool Open(const ViewLayout& layout) override;
    void Draw(const uint8_t* frame) override;
    HWND window() const override;
    NOXD_RENDERER renderer() const { return renderer_; }
    const NoxdApi& api() const { return api_; }

private:
    bool own_window_;
    const NoxdApi& api_;
    std::unique_ptr<BenchWindow> host_;
    NOXD_RENDERER renderer_ = nullptr;
};

std::unique_ptr<Pipeline> MakeNoxdPipeline();

// noxd given each frame plane by plane through noxd_draw_planes, as a
// decoder hands frames over: Draw takes an I420 or NV12 frame whose rows lie
// at the pitches of PaddedPlanes (PadRows' bytes).
class NoxdPaddedPipeline : public NoxdPipeline {
public:
    bool Open(const ViewLayout& layout) override;
    void Draw(const uint8_t* padded_frame) override;

private:
    NOXD_PLANES frame_ = {};
    std::vector<PlaneRows> planes_;
};

std::unique_ptr<Pipeline> MakeNoxdPaddedPipeline();

}  // namespace bench
