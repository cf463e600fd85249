// Hands decoded pictures from the component's decoding thread to the thread
// that draws them, without either side waiting for the other: the newest
// picture wins, and a picture replaced before it was taken counts as dropped.
//
// Three slots change hands by one atomic exchange: the producer fills the
// slot it owns and swaps it into the middle; the consumer swaps the middle
// out for the slot it owns. A slot is only ever written by its owner, so a
// picture is never read half-written.
//
// Threads: one producer at a time (Fill/Publish; the component delivers its
// frames one after another) and one consumer (TakeNewest).
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "decoded_frame.h"

namespace viewer {

struct Picture {
    std::vector<uint8_t> bytes;  // as the component delivered them
    PlaneLayout layout;          // where the planes lie in `bytes`
    uint32_t sequence = 0;       // the component's frame number
    nox::SampleAspect sample_aspect;  // the pixels' shape, as the component told it
};

class FrameMailbox {
public:
    // Producer: the slot to fill; it stays the producer's until Publish.
    Picture& Fill() { return slots_[producer_]; }
    // Producer: offers the filled slot, replacing a picture not yet taken.
    void Publish();

    // Consumer: the newest picture published since the last call, or null.
    // It stays valid until the next call.
    const Picture* TakeNewest();

    uint64_t published() const { return published_.load(); }
    uint64_t dropped() const { return dropped_.load(); }
    uint64_t taken() const { return taken_.load(); }

private:
    static constexpr unsigned kFresh = 4;  // flag beside the slot index in middle_

    Picture slots_[3];
    unsigned producer_ = 0;              // producer's slot
    unsigned consumer_ = 1;              // consumer's slot
    std::atomic<unsigned> middle_{2};    // slot in the middle, | kFresh when not yet taken
    std::atomic<uint64_t> published_{0};
    std::atomic<uint64_t> dropped_{0};
    std::atomic<uint64_t> taken_{0};
};

}  // namespace viewer
