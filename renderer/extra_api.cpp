// The exports beyond the first set: colour space, statistics, redraw, the
// "no video" picture and snapshots. Each one returns E_INVALIDARG for a null
// renderer, and nothing thrown inside it leaves it: Guarded turns any
// exception into E_UNEXPECTED.
#include <utility>

#include "color_space.h"
#include "gl_renderer.h"
#include "include/noxd.h"

namespace noxd {

namespace {

template <typename Body>
HRESULT Guarded(NOXD_RENDERER renderer, Body&& body) noexcept {
    if (!renderer) return E_INVALIDARG;
    try {
        return std::forward<Body>(body)(*renderer);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

}  // namespace noxd

using namespace noxd;

// Any thread: only the request is stored; the GL thread builds the program
// for it before the next picture it draws.
extern "C" HRESULT noxd_set_color_space(NOXD_RENDERER renderer, int matrix, int range) noexcept {
    return Guarded(renderer, [&](CGLRenderer& r) {
        const std::optional<ColorSpaceIndex> space = ColorSpaceOf(matrix, range);
        if (!space) return E_INVALIDARG;
        r.requested_color_space = *space;
        return S_OK;
    });
}

