#include "sdl2_pipeline.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include "benches.h"
#include "test_card.h"

namespace bench {

namespace {

Uint32 SdlFormatOf(int format) {
    switch (format) {
    case 8: return SDL_PIXELFORMAT_IYUV;
    case kFormatNv12: return SDL_PIXELFORMAT_NV12;
    case 9: return SDL_PIXELFORMAT_UYVY;
    case 12: return SDL_PIXELFORMAT_YUY2;
    case 11: return SDL_PIXELFORMAT_BGR24;    // bytes B G R
    default: return SDL_PIXELFORMAT_RGB888;   // bytes B G R x, no alpha to blend by
    }
}

// Bytes per row of a packed frame, padded to 4 as noxd reads it.
int PitchOf(int format, int width) {
    const int bytes = format == 11 ? 3 : format == 10 ? 4 : 2;
    return (width * bytes + 3) & ~3;
}

}  // namespace

Sdl2Pipeline::~Sdl2Pipeline() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

bool Sdl2Pipeline::Open(const ViewLayout& layout) {
    layout_ = layout;
    window_ = SDL_CreateWindow("SDL2 bench", layout.x, layout.y, layout.client_width, layout.client_height,
                               SDL_WINDOW_BORDERLESS | SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window_) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    SDL_RendererInfo info = {};
    if (!renderer_ || SDL_GetRendererInfo(renderer_, &info) != 0 || SDL_strcmp(info.name, "opengl") != 0)
        return false;
    texture_ = SDL_CreateTexture(renderer_, SdlFormatOf(layout.format), SDL_TEXTUREACCESS_STREAMING,
                                 layout.frame_width, layout.frame_height);
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!texture_ || !SDL_GetWindowWMInfo(window_, &wm)) return false;
    hwnd_ = wm.info.win.window;
    pitch_ = PitchOf(layout.format, layout.frame_width);
    bottom_up_ = layout.format == 10 || layout.format == 11;
    return true;
}

void Sdl2Pipeline::Draw(const uint8_t* frame) {
    const int w = layout_.frame_width, h = layout_.frame_height;
    const uint8_t* chroma = frame + w * h;
    if (layout_.format == 8) {
        SDL_UpdateYUVTexture(texture_, nullptr, frame, w, chroma, w / 2, chroma + (w / 2) * (h / 2), w / 2);
    } else if (layout_.format == kFormatNv12) {
        SDL_UpdateNVTexture(texture_, nullptr, frame, w, chroma, w);
    } else {
        SDL_UpdateTexture(texture_, nullptr, frame, pitch_);
    }
    SDL_RenderClear(renderer_);
    // BGR frames come bottom row first; SDL's textures are top row first.
    if (bottom_up_)
        SDL_RenderCopyEx(renderer_, texture_, nullptr, nullptr, 0, nullptr, SDL_FLIP_VERTICAL);
    else
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

std::unique_ptr<Pipeline> MakeSdl2Pipeline() { return std::make_unique<Sdl2Pipeline>(); }

namespace {

// Video, the OpenGL renderer, linear scaling and BT.601 for the process.
bool StartSdl2() {
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_SetYUVConversionMode(SDL_YUV_CONVERSION_BT601);
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

// "SDL 2.26.5, OpenGL renderer; native texture formats: ..."
std::string Sdl2Description() {
    SDL_version v;
    SDL_GetVersion(&v);
    std::string text = Format("SDL %d.%d.%d, OpenGL renderer; native texture formats:", v.major,
                              v.minor, v.patch);
    SDL_Window* window = SDL_CreateWindow("SDL2 probe", 0, 0, 16, 16, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_RendererInfo info = {};
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0)
        for (Uint32 i = 0; i < info.num_texture_formats; ++i)
            text += std::string(" ") + (SDL_GetPixelFormatName(info.texture_formats[i]) + 16);
    text += " (others are converted on the CPU inside SDL_UpdateTexture)";
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    return text;
}

}  // namespace

Result PeerVsSdl2(const Options& options) {
    if (!StartSdl2()) return {2, "Peer: SDL2", "SDL2 could not start its video\n", false, false};
    const std::string about = Sdl2Description() + "\n";
    Result result = CompareGrid(2, "Peer: SDL2", "SDL2", MakeSdl2Pipeline, Goal{Goal::AtLeast, 1.0}, options);
    result.report = about + result.report;
    SDL_Quit();
    return result;
}

}  // namespace bench
