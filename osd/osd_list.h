// The renderer's ordered overlay list, drawn in insertion order every frame,
// and the renderer as the overlay layer sees it: the core, its list and the
// text of its "no video" cover.
//
// Lock rule of the overlay layer: the list and the two dash patterns are read
// and changed only under the renderer lock. Every operation of OverlayList
// takes it itself (it is recursive, so a caller may hold it already), except
// those marked "lock held", whose caller holds it: the draw pass runs inside
// the frame, which holds it throughout. Objects are built completely, outside
// the lock, on any thread, before they are added. The list's length and the
// button count are atomic words, for readers that must not wait for a frame
// (noxd_get_stats, the window procedure).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "osd_pixels.h"
#include "osd_textures.h"
#include "overlay_layer.h"
#include "renderer_core.h"

class CBaseOsdObject;

namespace noxd {

class OverlayList {
public:
    explicit OverlayList(RendererLock& lock) : lock_(lock) {}
    OverlayList(const OverlayList&) = delete;
    OverlayList& operator=(const OverlayList&) = delete;

    // Puts `object` into the list and its new handle into *handle_variable,
    // deleting the object the variable named before. When the object is null
    // (allocation failed: E_FAIL) or was not built (its status), it is
    // discarded, the old object is deleted all the same and the variable is
    // left 0. A null handle_variable: E_INVALIDARG, the object is discarded,
    // nothing else changes.
    HRESULT Add(UINT_PTR* handle_variable, CBaseOsdObject* object);

    // Removes the object that *handle_variable names and sets the variable to
    // 0. E_INVALIDARG, changing nothing, for a null variable, a 0 handle or a
    // handle not in the list.
    HRESULT Delete(UINT_PTR* handle_variable);

    // Removes and frees every overlay; E_INVALIDARG when the list was empty.
    // Handle variables are not touched.
    HRESULT Clear();

    // Shows every overlay, in list order, over the picture: through the
    // layer, drawn again only when `key` (with the list's own changes)
    // differs from what it holds, or directly where GL has no layer. `own`
    // is the renderer's context. GL thread, lock held.
    void Draw(LayerKey key, HGLRC own);

    // Brings the layer up to date for `key` and hands it over for the
    // picture's own pass to lay over the picture; none (no texture) where GL
    // has no layer. GL thread, lock held, before the picture is drawn.
    OverlaysOnPicture PrepareLayer(LayerKey key, HGLRC own);

    // The renderer's GL is 1.1, without shader programs: no layer, images in
    // power-of-two textures, no separate alpha blending. Set at creation,
    // before the first pass.
    void KeepToGl11();

    // The textures of the overlays, image by image, and the layer, deleted
    // at release (own context current). GL thread, lock held.
    void DeleteGlObjects(HGLRC own);

    // The textures of the overlays' images, and of the "no video" cover's
    // text. GL thread, lock held.
    OsdImageTextures& image_textures() { return image_textures_; }
    OsdImageTextures& cover_textures() { return cover_textures_; }

    // The overlays in drawing order. Lock held.
    const std::vector<CBaseOsdObject*>& Objects() const { return osd_list; }

    // The pass being drawn (OverlaySpace). GL thread, during a pass.
    const OverlaySpace& picture_space() const { return picture_space_; }

    // The list's length as of its last change. Any thread, without the lock.
    int32_t Count() const { return overlay_count; }

    // The pattern an outline object captures when it is built; never one
    // that a drawing object or the rubber band has swapped in for a moment.
    uint16_t CurrentDashMask();

    // Sets the pattern for objects built from now on; waits for a draw pass
    // in progress, which would otherwise put its saved pattern back over it.
    void SetDashMask(uint16_t pattern);

    // Puts `own` in place of the pattern, which waits in saved_dash_mask
    // until RestoreDashMask. Lock held, and held until the restore.
    void SwapInDashMask(uint16_t own);
    void RestoreDashMask();

    // Live buttons: counted from a button's construction to its
    // FreeResources(), on any thread. Read without the lock.
    int32_t ButtonCount() const { return button_count; }
    void CountButton() { ++button_count; }
    void UncountButton() { --button_count; }

private:
    void CountOverlays() {
        overlay_count = static_cast<int32_t>(osd_list.size());
        ++version_;
    }
    void DrawEach(const LayerKey& key, HGLRC own);

    RendererLock& lock_;
    OverlaySpace picture_space_;
    std::vector<CBaseOsdObject*> osd_list;  // owns the objects
    std::atomic<int32_t> overlay_count{0};
    std::atomic<int32_t> button_count{0};
    uint16_t dash_mask = 0xE3F8;
    uint16_t saved_dash_mask = 0xE3F8;
    OsdImageTextures image_textures_;
    OsdImageTextures cover_textures_;
    OverlayLayer layer_;
    uint64_t version_ = 0;  // counts the changes to what the overlays show
    bool gl11_only_ = false;
};

// The renderer as the overlays see it. Overlay objects keep a pointer to it
// as their owner.
struct OverlayRenderer : RendererCore {
    OverlayList osd{lock};
    // The text of the "no video" cover; empty: the picture is only dimmed.
    // Changed and drawn only under the renderer lock.
    PixelImage stale_text;
};

}  // namespace noxd
