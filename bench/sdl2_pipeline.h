// The peer: SDL2's OpenGL renderer with linear scaling and a streaming
// texture of the frame's format, drawing the same frames as noxd.
#pragma once

#include <memory>
#include <string>

#include "pipeline.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace bench {

class Sdl2Pipeline : public Pipeline {
public:
    ~Sdl2Pipeline() override;
    bool Open(const ViewLayout& layout) override;
    void Draw(const uint8_t* frame) override;
    HWND window() const override { return hwnd_; }

private:
    ViewLayout layout_ = {};
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    HWND hwnd_ = nullptr;
    int pitch_ = 0;
    bool bottom_up_ = false;
};

std::unique_ptr<Pipeline> MakeSdl2Pipeline();

}  // namespace bench
