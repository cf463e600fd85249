// The overlays drawn once into a layer the size of the client area, drawn
// again only when something their pixels depend on has changed: the list
// (an overlay added or deleted, a rubber band moved), a button's state, the
// viewport or the client size. Each picture gets the layer laid over it: by
// the picture's own shader where the picture covers the client area
// (OnPicture), else by a blended pass over the tiles that show anything
// (Composite).
//
// The layer holds colours premultiplied by their alpha: every overlay blends
// with glBlendFuncSeparate(SRC_ALPHA, ONE_MINUS_SRC_ALPHA, ONE,
// ONE_MINUS_SRC_ALPHA), so a layer cleared to 0 and laid over the picture
// as layer + picture (1 - layer alpha) gives the pixels the overlays drawn
// one by one over the picture give (to the rounding of 8-bit channels).
//
// A driver may store the window's rows in the other order than a
// framebuffer object's (Mesa keeps the window's top row first), and dashes
// are then rasterised a pixel apart; the layer is drawn with its rows
// turned round there (clip origin upper left). Where the order is not
// known, or GL has no framebuffer objects (GL 2.0 does not promise them),
// there is no layer and the overlays are drawn straight over the picture
// every time.
// GL thread, renderer lock held.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "frame_layout.h"
#include "gl_objects.h"
#include "layer_tiles.h"
#include "picture.h"
#include "picture_shape.h"

namespace noxd {

// What the layer's pixels depend on besides the overlays themselves: the
// video area (which clips the overlays), the client size, and the picture
// rectangle and orientation the overlays are placed and turned by.
struct LayerKey {
    uint64_t list_version = 0;  // filled in by the overlay list
    Viewport viewport = {};
    int32_t client_width = 0;
    int32_t client_height = 0;
    PictureRect picture = {};
    Orientation orientation = {};

    bool operator==(const LayerKey& o) const {
        return list_version == o.list_version && viewport.x == o.viewport.x && viewport.y == o.viewport.y &&
               viewport.width == o.viewport.width && viewport.height == o.viewport.height &&
               client_width == o.client_width && client_height == o.client_height &&
               picture.x == o.picture.x && picture.y == o.picture.y && picture.width == o.picture.width &&
               picture.height == o.picture.height && orientation == o.orientation;
    }
};

// Where a pass of overlays draws: the upright picture's size in pixels,
// which pixel sizes and fixed-size images go by, and how the picture is
// turned, which images undo to stay upright.
struct OverlaySpace {
    int32_t width = 0, height = 0;
    Orientation orientation;
    PictureRect rect;  // in the video area, which the pass's viewport is
};

class OverlayLayer {
public:

    // Whether the overlays must be drawn into the layer before it is laid
    // over the picture; binds the layer's framebuffer, cleared, when so.
    // False with no layer: then Usable() says whether to draw directly.
    bool BeginRedraw(const LayerKey& key, HGLRC own);
    // Gives the framebuffer that was bound before back.
    void EndRedraw();
    // Lays the layer over the picture. The viewport is `key.viewport` again afterwards.
    void Composite();
    // The layer as it stands, for the picture's own pass to lay over the picture.
    OverlaysOnPicture OnPicture() const {
        return {texture_, drawn_.client_width, drawn_.client_height};
    }

    // Whether the overlays go through the layer; known after the first BeginRedraw.
    bool Usable() const { return rows_ == Rows::TurnedRound; }

    // At release, own context current.
    void DeleteIn(HGLRC own);

private:
    // How the layer's rows run against the window's.
    enum class Rows { Unknown, None, TurnedRound };

    bool Make(int32_t width, int32_t height);
    void Forget();
    void ChooseRows();
    void FindCoveredTiles();

    GlHome home_;
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
    GLint outer_framebuffer_ = 0;
    LayerKey drawn_;
    bool valid_ = false;  // the layer holds the overlays of `drawn_`
    Rows rows_ = Rows::Unknown;
    std::vector<PixelRect> covered_;  // the parts of the layer with anything to show
    bool covered_found_ = false;      // covered_ is the drawn layer's
};

}  // namespace noxd
