#include "converted_picture.h"

#include "bgra_conversion.h"
#include "picture.h"
#include "renderer_core.h"

namespace noxd {

namespace {

// Staging and tiles for a new size; an allocation that fails leaves none,
// so the view draws nothing rather than stale tiles.
void ShapeFor(RendererCore& renderer, const FrameGeometry& geometry) {
    ConvertedPicture& picture = renderer.converted;
    DeleteConvertedTextures(renderer);
    picture.tiles.clear();
    picture.staging.clear();
    picture.geometry = {};
    if (geometry.width <= 0 || geometry.height <= 0) return;
    const int32_t w = geometry.width + 2, h = geometry.height + 2;
    picture.staging.assign(static_cast<size_t>(w) * h, 0xFF000000u);
    picture.staging_width = w;
    for (const PictureTile& place : PictureTilesFor(geometry.width, geometry.height, renderer.max_texture_size))
        picture.tiles.push_back({place, HomedTexture(), false});
    picture.geometry = geometry;
}

// Storage for a texture made just now: GL 1.1 clamps (it has no clamp to
// edge), which the rim makes exact.
void MakeTileStorage(const PictureTile& place) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, place.texture_width, place.texture_height, 0, GL_BGRA_EXT,
                 GL_UNSIGNED_BYTE, nullptr);
}

// The tile's pixels with their rim, cut out of the staging picture by the
// unpack state, which goes back to GL's defaults for the overlays.
void LoadTile(const ConvertedPicture& picture, const PictureTile& place) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, picture.staging_width);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, place.x);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, place.y);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, place.width + 2, place.height + 2, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                    picture.staging.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

// Binds the tile's texture with this frame in it: a texture made now (first
// frame, or the context taken over by a later renderer) is filled from the
// staging picture, which still holds the frame.
void BindLoaded(RendererCore& renderer, ConvertedPicture::Tile& tile) {
    if (tile.texture.Bind(renderer.gl_context.get())) {
        MakeTileStorage(tile.place);
        tile.loaded = false;
    }
    if (tile.loaded) return;
    LoadTile(renderer.converted, tile.place);
    tile.loaded = true;
}

}  // namespace

void UploadConvertedFrame(RendererCore& renderer, const FramePlanes& frame) {
    ConvertedPicture& picture = renderer.converted;
    if (picture.geometry != renderer.shown_geometry) ShapeFor(renderer, renderer.shown_geometry);
    if (picture.tiles.empty()) return;
    const int32_t w = picture.geometry.width, h = picture.geometry.height;
    uint32_t* interior = picture.staging.data() + picture.staging_width + 1;
    ConvertToBgra(frame, renderer.requested_color_space, renderer.shown_bottom_up,
                  reinterpret_cast<uint8_t*>(interior),
                  static_cast<ptrdiff_t>(picture.staging_width) * sizeof(uint32_t));
    CopyEdgesIntoRim(picture.staging.data(), w, h, picture.staging_width);
    for (ConvertedPicture::Tile& tile : picture.tiles) {
        tile.loaded = false;
        BindLoaded(renderer, tile);
    }
}

void DrawConvertedQuad(RendererCore& renderer, const VideoQuad& quad) {
    ConvertedPicture& picture = renderer.converted;
    if (!PictureCoversClient(renderer)) glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (ConvertedPicture::Tile& tile : picture.tiles) {
        VideoQuad part;
        if (!TileQuad(quad, tile.place, picture.geometry.width, picture.geometry.height, part)) continue;
        BindLoaded(renderer, tile);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2fv(part.tex[i]);
            glVertex3fv(part.vertex[i]);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
}

Picture ConvertedFramePicture(const RendererCore& renderer) {
    const ConvertedPicture& converted = renderer.converted;
    Picture picture;
    if (converted.tiles.empty()) return picture;
    picture.width = converted.geometry.width;
    picture.height = converted.geometry.height;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        const int32_t staged = renderer.shown_bottom_up ? picture.height - y : y + 1;
        const uint32_t* from = &converted.staging[static_cast<size_t>(staged) * converted.staging_width + 1];
        uint32_t* to = &picture.pixels[static_cast<size_t>(y) * picture.width];
        for (int32_t x = 0; x < picture.width; ++x) to[x] = from[x] | 0xFF000000u;
    }
    return picture;
}

void DeleteConvertedTextures(RendererCore& renderer) {
    for (ConvertedPicture::Tile& tile : renderer.converted.tiles) {
        tile.texture.DeleteIn(renderer.gl_context.get());
        tile.loaded = false;
    }
}

}  // namespace noxd
