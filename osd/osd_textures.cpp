#include "osd_textures.h"

#include <algorithm>

namespace noxd {

void OsdImageTextures::BeginPass(HGLRC own) {
    ++pass_;
    const auto unused = [this](const Entry& e) { return pass_ - e.last_pass > 1; };
    for (Entry& e : entries_)
        if (unused(e)) e.texture.DeleteIn(own);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), unused), entries_.end());
}

namespace {

// The image in the corner of a power-of-two texture; returns its far corner.
OsdImageTextures::FarCorner LoadPadded(const PixelImage& image) {
    uint32_t w = 0, h = 0;
    const std::vector<uint32_t> canvas = PowerOfTwoCanvas(image, w, h);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0, GL_BGRA_EXT,
                 GL_UNSIGNED_BYTE, canvas.data());
    return {static_cast<float>(image.width) / w, static_cast<float>(image.height) / h};
}

}  // namespace

OsdImageTextures::FarCorner OsdImageTextures::Bind(const PixelImage& image, HGLRC own) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.serial == image.serial; });
    if (found == entries_.end()) {
        entries_.push_back({image.serial, HomedTexture(), pass_, {}});
        found = entries_.end() - 1;
    }
    found->last_pass = pass_;
    if (!found->texture.Bind(own)) return found->far_corner;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (padded_) {
        found->far_corner = LoadPadded(image);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(image.width),
                     static_cast<GLsizei>(image.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, image.pixels.get());
        found->far_corner = {};
    }
    return found->far_corner;
}

void OsdImageTextures::DeleteAll(HGLRC own) {
    for (Entry& e : entries_) e.texture.DeleteIn(own);
    entries_.clear();
}

}  // namespace noxd
