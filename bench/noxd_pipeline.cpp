#include "noxd_pipeline.h"

namespace bench {

NoxdPipeline::~NoxdPipeline() {
    // The renderer gives the host window back before the window goes.
    if (renderer_) api_.release_renderer(renderer_);
}

bool NoxdPipeline::Open(const ViewLayout& layout) {
    HWND host = nullptr;
    if (!own_window_) {
        host_ = std::make_unique<BenchWindow>(layout);
        host = host_->get();
        if (!host) return false;
    }
    return api_.create_renderer(host, L"noxd bench", layout.client_width, layout.client_height,
                                layout.format, layout.frame_width, layout.frame_height,
                                &renderer_) == S_OK;
}

void NoxdPipeline::Draw(const uint8_t* frame) { api_.draw_frame(renderer_, frame); }

HWND NoxdPipeline::window() const { return api_.get_hwnd(renderer_); }

std::unique_ptr<Pipeline> MakeNoxdPipeline() { return std::make_unique<NoxdPipeline>(); }

bool NoxdPaddedPipeline::Open(const ViewLayout& layout) {
    planes_ = PaddedPlanes(layout.format, layout.frame_width, layout.frame_height);
    frame_ = {sizeof frame_, layout.format, layout.frame_width, layout.frame_height, {}, {}};
    for (size_t i = 0; i < planes_.size(); ++i) frame_.pitch[i] = planes_[i].pitch;
    return !planes_.empty() && NoxdPipeline::Open(layout);
}

// Only the planes' top rows change from frame to frame.
void NoxdPaddedPipeline::Draw(const uint8_t* padded_frame) {
    for (size_t i = 0; i < planes_.size(); ++i) frame_.data[i] = padded_frame + planes_[i].offset;
    noxd_draw_planes(renderer(), &frame_);
}

std::unique_ptr<Pipeline> MakeNoxdPaddedPipeline() { return std::make_unique<NoxdPaddedPipeline>(); }

}  // namespace bench
